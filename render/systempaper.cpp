// The system's paper setting: the one platform-specific part of the paper
// choice (render/paper.h).
#include "render/paper.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

#include <cstdint>

Paper SystemPaper()
{
#if defined(_WIN32)
    DWORD code = 0;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IPAPERSIZE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&code), sizeof code / sizeof(WCHAR)) == 0)
        return PaperOfKind(PaperKind::A4);
    return PaperOfWindowsCode(static_cast<int>(code));
#elif defined(__GLIBC__)
    // The environment's LC_PAPER (LC_ALL and LANG as usual), read in a locale
    // object of its own so that the process's locale stays "C".
    locale_t paper = newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(nullptr));
    if (paper == static_cast<locale_t>(nullptr))
        return PaperOfKind(PaperKind::A4);
    // glibc returns these numbers in the pointer's bits.
    const int width = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo_l(_NL_PAPER_WIDTH, paper)));
    const int height = static_cast<int>(reinterpret_cast<std::intptr_t>(nl_langinfo_l(_NL_PAPER_HEIGHT, paper)));
    freelocale(paper);
    return PaperOfLocaleSize(width, height);
#else
    return PaperOfKind(PaperKind::A4);
#endif
}
