#pragma once

#include "dialog/urlopener.h"
#include "export/prompts.h"
#include "qt/qtimagelayer.h"

#include <string>

// What start-up hands the program's window: how links are opened and where
// clipboard images go.
struct ProgramServices {
    UrlOpener* urlOpener;
    ImageClipboard* clipboard;
    UserPrompts* prompts; // null: Qt's dialogs
};

// Start-up and shutdown (dialog/startup.h), run inside a QApplication over
// Qt's image layer, with the main dialog owned by no window. Returns the
// process's exit status, which is 0 on every path.
int RunProgram(const std::string& executablePath, const ProgramServices& services);
