// The Win32 main dialog under wine: the view's window operations on real
// controls, and the messages that reach the controller through the dialog
// procedure.
#include "model/record.h"
#include "render/palette.h"
#include "resources/dialogtemplate.h"
#include "settings/settings.h"
#include "tests/export/fakeprompts.h"
#include "tests/support/recordingopener.h"
#include "tests/support/testsupport.h"
#include "win32/maindialogview.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {
// A 32-bit drawing surface of its own, for painting items off the screen.
class MemorySurface {
public:
    MemorySurface(int width, int height) : width_(width)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        for (int at = 0; at < width * height; ++at)
            bits_[at] = 0x00808080; // grey
    }
    ~MemorySurface()
    {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    // The pixel as a colour value 0x00BBGGRR.
    ColorValue At(int x, int y) const
    {
        GdiFlush();
        const std::uint32_t pixel = bits_[y * width_ + x];
        return MakeColor(static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                         static_cast<int>(pixel & 0xFF));
    }

private:
    int width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

constexpr ColorValue kGrey = 0x00808080;

DRAWITEMSTRUCT ItemRequest(HDC dc, UINT itemId, ULONG_PTR position, UINT state)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = kBackgroundColorId;
    item.itemID = itemId;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hDC = dc;
    item.rcItem = {10, 5, 110, 25};
    item.itemData = position;
    return item;
}

class Win32Dialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
        InitCommonControlsEx(&classes);
        LocateSettingsFile(folder_.path() + "\\decagon.exe");
        view_ = std::make_unique<MainDialogView>(nullptr, &prompts_, &opener_);
        dialog_ = view_->CreateModeless(GetModuleHandleA(nullptr), &record_, nullptr);
        ASSERT_NE(dialog_, nullptr);
    }
    void TearDown() override
    {
        if (dialog_ != nullptr)
            DestroyWindow(dialog_);
        DeleteFileA(SettingsFilePath.c_str());
        for (const std::string& file : made_)
            DeleteFileA(file.c_str());
    }

    std::string Text(int id) const
    {
        char text[256] = {};
        GetDlgItemTextA(dialog_, id, text, sizeof text);
        return text;
    }
    LRESULT ToList(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
    }
    void Command(int id, UINT code)
    {
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, id)));
    }
    // A key pressed in a control, through the dialog manager as the modal
    // loop hands it over.
    void PressKey(int id, WPARAM key)
    {
        MSG down = {GetDlgItem(dialog_, id), WM_KEYDOWN, key, 1, 0, {}};
        if (!IsDialogMessageA(dialog_, &down))
            DispatchMessageA(&down);
        PumpMessages();
    }
    static void PumpMessages()
    {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    void Notify(int id, UINT code, int linkIndex, const wchar_t* url)
    {
        NMLINK link = {};
        link.hdr.hwndFrom = GetDlgItem(dialog_, id);
        link.hdr.idFrom = static_cast<UINT_PTR>(id);
        link.hdr.code = code;
        link.item.iLink = linkIndex;
        lstrcpynW(link.item.szUrl, url, L_MAX_URL_LENGTH);
        SendMessageA(dialog_, WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&link));
    }

    TempFolder folder_;
    std::vector<std::string> made_;
    DecagonRecord record_ = {};
    FakePrompts prompts_;
    RecordingOpener opener_;
    std::unique_ptr<MainDialogView> view_;
    HWND dialog_ = nullptr;
};
} // namespace

TEST_F(Win32Dialog, OpensWithTheDefaultsTheFilledListsAndTheSettingsFileWritten)
{
    EXPECT_EQ(Text(kHeightFieldId), "254.8840");
    EXPECT_EQ(Text(kAngleFieldId), "40.0000");
    EXPECT_EQ(Text(1030), "127.4420");
    EXPECT_EQ(Text(1058), "-121.2045"); // E5's y
    EXPECT_EQ(reinterpret_cast<DecagonRecord*>(GetWindowLongPtrA(dialog_, GWLP_USERDATA)), &record_);
    EXPECT_EQ(view_->Controller().AttachedRecord(), &record_);

    const int colorLists[] = {1013, 1014, 1015, 1017, 1018, 1019, 1020, 1021, 1022, 1023, 1024, 1025, 1026, 1027};
    for (int id : colorLists) {
        SCOPED_TRACE(id);
        ASSERT_EQ(ToList(id, CB_GETCOUNT), kPaletteSize);
        for (int index = 0; index < kPaletteSize; ++index)
            EXPECT_EQ(ToList(id, CB_GETITEMDATA, static_cast<WPARAM>(index)), index);
        char text[8] = {};
        ToList(id, CB_GETLBTEXT, 5, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, " ");
    }
    EXPECT_EQ(ToList(kBackgroundColorId, CB_GETCURSEL), 0);
    EXPECT_EQ(ToList(kOutlineColorId, CB_GETCURSEL), 17);
    EXPECT_EQ(ToList(1017, CB_GETCURSEL), 8); // E6's default
    ASSERT_EQ(ToList(kDiagonalChoiceId, CB_GETCOUNT), 12);
    for (int index = 0; index < 12; ++index)
        EXPECT_EQ(ToList(kDiagonalChoiceId, CB_GETITEMDATA, static_cast<WPARAM>(index)), index);
    EXPECT_EQ(ToList(kDiagonalChoiceId, CB_GETCURSEL), 1); // "All"

    EXPECT_EQ(IsDlgButtonChecked(dialog_, kExternalYesId), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kExternalNoId), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kInternalYesId), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kInternalNoId), static_cast<UINT>(BST_UNCHECKED));

    EXPECT_EQ(SendDlgItemMessageA(dialog_, kHeightFieldId, EM_GETLIMITTEXT, 0, 0), 9);
    EXPECT_EQ(SendDlgItemMessageA(dialog_, kAngleFieldId, EM_GETLIMITTEXT, 0, 0), 9);
    EXPECT_NE(ReadFileBytes(SettingsFilePath).find("Rayon Exterieur=127.4420\r\n"), std::string::npos);
    EXPECT_FALSE(HasPixels(view_->Preview())) << "no preview before the first Compute";
}

TEST_F(Win32Dialog, ColourListItemsAreTwentyPixelsHighAndTheDiagonalListIsNotOwnerDrawn)
{
    for (int id : {kExternalCircleColorId, kOutlineColorId, 1026})
        EXPECT_EQ(ToList(id, CB_GETITEMHEIGHT, 0), 20) << id;
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog_, kDiagonalChoiceId), GWL_STYLE) & CBS_OWNERDRAWFIXED, 0);
}

TEST_F(Win32Dialog, PaintsColourItemsAsSwatchesWithTheFocusFrameWhenSelected)
{
    MemorySurface plain(120, 30);
    const DRAWITEMSTRUCT red = ItemRequest(plain.Dc(), 1, 1, 0);
    SendMessageA(dialog_, WM_DRAWITEM, kBackgroundColorId, reinterpret_cast<LPARAM>(&red));
    for (int y = 5; y < 25; ++y) {
        for (int x = 10; x < 110; ++x)
            ASSERT_EQ(plain.At(x, y), PaletteColor(1)) << x << "," << y;
    }
    // Outside the item rectangle nothing is touched.
    EXPECT_EQ(plain.At(9, 5), kGrey);
    EXPECT_EQ(plain.At(110, 24), kGrey);
    EXPECT_EQ(plain.At(10, 4), kGrey);
    EXPECT_EQ(plain.At(10, 25), kGrey);

    MemorySurface selected(120, 30);
    const DRAWITEMSTRUCT framed = ItemRequest(selected.Dc(), 1, 40, ODS_SELECTED | ODS_FOCUS);
    EXPECT_TRUE(DrawColorListItem(framed));
    int framePixels = 0;
    for (int x = 10; x < 110; ++x)
        framePixels += selected.At(x, 5) != PaletteColor(40) ? 1 : 0;
    EXPECT_GT(framePixels, 20) << "the focus frame runs along the top edge";
    EXPECT_EQ(selected.At(60, 15), PaletteColor(40)) << "the inside stays the swatch colour";

    MemorySurface nothing(120, 30);
    const DRAWITEMSTRUCT none = ItemRequest(nothing.Dc(), static_cast<UINT>(-1), 1, ODS_SELECTED);
    EXPECT_FALSE(DrawColorListItem(none));
    EXPECT_EQ(nothing.At(60, 15), kGrey);
}

TEST_F(Win32Dialog, ComputeShowsTheResultsAndKeepsThePreviewThroughRepaints)
{
    SetDlgItemTextA(dialog_, kHeightFieldId, "100");
    Command(kComputeId, BN_CLICKED);
    EXPECT_EQ(Text(kHeightFieldId), "100.0000");
    EXPECT_EQ(Text(1030), "50.0000");
    EXPECT_NE(ReadFileBytes(SettingsFilePath).find("Rayon Exterieur=50.0000\r\n"), std::string::npos);

    const Canvas& preview = view_->Preview();
    ASSERT_TRUE(HasPixels(preview));
    EXPECT_EQ(preview.width, 250);
    EXPECT_EQ(preview.height, 250);
    RECT client = {};
    GetClientRect(dialog_, &client);
    EXPECT_EQ(view_->PreviewPosition().x, client.right - 260);
    EXPECT_EQ(view_->PreviewPosition().y, 100);

    // What the dialog paints at every repaint of its client area: the
    // preview's pixels, at its place, and nothing elsewhere.
    const PixelPoint at = view_->PreviewPosition();
    MemorySurface copy(client.right, client.bottom);
    SendMessageA(dialog_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(copy.Dc()), PRF_CLIENT);
    int differing = 0;
    for (int y = 0; y < 250; ++y) {
        for (int x = 0; x < 250; ++x)
            differing += copy.At(at.x + x, at.y + y) != ColorOfPixel(PixelAt(preview, x, y)) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(copy.At(at.x - 1, at.y), kGrey);
    EXPECT_EQ(copy.At(at.x, at.y - 1), kGrey);
    EXPECT_EQ(copy.At(at.x + 250, at.y + 249), kGrey);
    EXPECT_EQ(copy.At(at.x, at.y + 250), kGrey);

    // A repaint of the window goes through the same painting.
    ShowWindow(dialog_, SW_SHOWNOACTIVATE);
    InvalidateRect(dialog_, nullptr, TRUE);
    UpdateWindow(dialog_);
    EXPECT_FALSE(GetUpdateRect(dialog_, nullptr, FALSE));
}

TEST_F(Win32Dialog, AMoveToAMonitorOfTwiceTheScaleLaysTheWindowOutAgain)
{
    SetDlgItemTextA(dialog_, kHeightFieldId, "100");
    Command(kComputeId, BN_CLICKED);
    RECT suggested = {40, 30, 40 + 2400, 30 + 1000};
    SendMessageW(dialog_, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(view_->Dpi(), 192u);
    RECT window = {};
    GetWindowRect(dialog_, &window);
    EXPECT_TRUE(EqualRect(&window, &suggested));
    EXPECT_EQ(SendDlgItemMessageW(dialog_, kBackgroundColorId, CB_GETITEMHEIGHT, 0, 0), 40);

    // The next Compute places the 250 x 250 box by the same rule on the new
    // client area, shown at twice the size, each pixel a 2 x 2 block.
    Command(kComputeId, BN_CLICKED);
    RECT client = {};
    GetClientRect(dialog_, &client);
    const RECT box = view_->PreviewDeviceRect();
    EXPECT_EQ(box.right - box.left, 500);
    EXPECT_EQ(box.bottom - box.top, 500);
    EXPECT_NEAR(box.right, client.right - 20, 1);
    EXPECT_EQ(box.top, 200);
    MemorySurface copy(client.right, client.bottom);
    SendMessageA(dialog_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(copy.Dc()), PRF_CLIENT);
    const Canvas& preview = view_->Preview();
    int differing = 0;
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 500; ++x)
            differing += copy.At(box.left + x, box.top + y) != ColorOfPixel(PixelAt(preview, x / 2, y / 2)) ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(copy.At(box.left - 1, box.top), kGrey);
    EXPECT_EQ(copy.At(box.right, box.bottom - 1), kGrey);
}

TEST_F(Win32Dialog, VertexColourChangesReachTheRecordAtOnceOthersOnlyAtCompute)
{
    ToList(1017, CB_SETCURSEL, 5);
    Command(1017, CBN_SELCHANGE);
    EXPECT_EQ(record_.diagonalColors[0], 5);
    ToList(1026, CB_SETCURSEL, 47);
    Command(1026, CBN_SELENDOK); // not a change of selection
    EXPECT_EQ(record_.diagonalColors[9], 1);
    Command(1026, CBN_SELCHANGE);
    EXPECT_EQ(record_.diagonalColors[9], 47);

    ToList(kBackgroundColorId, CB_SETCURSEL, 40);
    Command(kBackgroundColorId, CBN_SELCHANGE);
    EXPECT_EQ(record_.backgroundColor, 0);
    Command(kComputeId, BN_CLICKED);
    EXPECT_EQ(record_.backgroundColor, 40);
}

TEST_F(Win32Dialog, EscapeAndTheCloseBoxSaveTheSettingsAndEndTheDialogWithTwo)
{
    ToList(1020, CB_SETCURSEL, 33);
    Command(1020, CBN_SELCHANGE);
    ASSERT_TRUE(DeleteFileA(SettingsFilePath.c_str()));
    // Escape, as the dialog manager sees it in the height field.
    PressKey(kHeightFieldId, VK_ESCAPE);
    EXPECT_EQ(view_->EndResult(), kExitId);
    const std::string saved = ReadFileBytes(SettingsFilePath);
    EXPECT_NE(saved.find("\r\nE9=33\r\n"), std::string::npos) << saved;

    // The close box: the system's own handling turns it into the same
    // command.
    ASSERT_TRUE(DeleteFileA(SettingsFilePath.c_str()));
    SendMessageA(dialog_, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_TRUE(FileExists(SettingsFilePath));
}

TEST_F(Win32Dialog, EnterInTheHeightFieldRunsCompute)
{
    SetDlgItemTextA(dialog_, kHeightFieldId, "12abc");
    PressKey(kHeightFieldId, VK_RETURN);
    EXPECT_EQ(Text(kHeightFieldId), "12.0000");
    EXPECT_TRUE(HasPixels(view_->Preview()));
}

TEST_F(Win32Dialog, ClicksAndEnterOnALinkOpenItsTargetOnce)
{
    // A real click on the forum link, whose text is all link.
    HWND forum = GetDlgItem(dialog_, kForumLinkId);
    SendMessageA(forum, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    SendMessageA(forum, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
    ASSERT_EQ(opener_.opened, std::vector<std::string>{kForumUrl});

    Notify(kWikipediaLinkId, NM_RETURN, 0, L"https://en.wikipedia.org/wiki/Decagon");
    Notify(kWikipediaLinkId, NM_SETFOCUS, 0, L"https://example.org/");
    Notify(kWikipediaLinkId, NM_CLICK, 1, L"https://example.org/second");
    Notify(kHeightFieldId, NM_CLICK, 0, L"https://example.org/not-a-link");
    EXPECT_EQ(opener_.opened, (std::vector<std::string>{kForumUrl, kWikipediaUrl}));
}

TEST_F(Win32Dialog, RunsTheTextExportThroughThePrompts)
{
    prompts_.answer = folder_.path() + "\\values.csv";
    made_.push_back(prompts_.answer);
    Command(kExportTextId, BN_CLICKED);
    EXPECT_EQ(prompts_.dialogs, 1);
    EXPECT_EQ(std::string(prompts_.lastRequest.defaultExtension), "csv");
    EXPECT_EQ(ReadFileBytes(prompts_.answer).rfind("\"Expected Height\";", 0), 0u);
    EXPECT_EQ(prompts_.information.size(), 1u);
    EXPECT_TRUE(prompts_.errors.empty());
    // Without an image layer the image buttons do nothing.
    Command(kExportImageId, BN_CLICKED);
    Command(kCopyImageId, BN_CLICKED);
    EXPECT_EQ(prompts_.dialogs, 1);
}

TEST_F(Win32Dialog, CheckingARadioButtonClearsOnlyItsOwnPair)
{
    view_->SetButtonChecked(kExternalNoId, true);
    EXPECT_FALSE(view_->IsButtonChecked(kExternalYesId));
    EXPECT_TRUE(view_->IsButtonChecked(kExternalNoId));
    EXPECT_TRUE(view_->IsButtonChecked(kInternalYesId));
    view_->SetButtonChecked(kExternalNoId, false);
    EXPECT_FALSE(view_->IsButtonChecked(kExternalYesId));
    EXPECT_FALSE(view_->IsButtonChecked(kExternalNoId));
    view_->SetButtonChecked(kInternalNoId, true);
    EXPECT_FALSE(view_->IsButtonChecked(kInternalYesId));
    EXPECT_FALSE(view_->IsButtonChecked(kExternalYesId));
}

TEST_F(Win32Dialog, ControlsOfTheWrongKindReadAsEmpty)
{
    EXPECT_EQ(view_->ListItemCount(kHeightFieldId), 0);
    EXPECT_EQ(view_->AddListItem(kHeightFieldId, "x", 1), -1);
    EXPECT_EQ(view_->ListSelection(9999), -1);
    EXPECT_EQ(view_->ListItemData(kBackgroundColorId, kPaletteSize), -1);
    EXPECT_EQ(view_->ListItemData(kBackgroundColorId, -1), -1);
    EXPECT_FALSE(view_->IsButtonChecked(kDiagonalChoiceId));
    EXPECT_EQ(view_->ItemText(9999), "");
    view_->SetItemText(9999, "x");
    view_->SetButtonChecked(kHeightFieldId, true);
    EXPECT_EQ(Text(kHeightFieldId), "254.8840");

    // Text set by the program is whole, whatever the typed-text limit.
    view_->SetItemText(kHeightFieldId, "123456.0000");
    EXPECT_EQ(view_->ItemText(kHeightFieldId), "123456.0000");
}

TEST_F(Win32Dialog, AfterTheWindowIsGoneTheViewReachesNoControl)
{
    // The view finds its controls once; a window destroyed and another made
    // in its place must not receive what was meant for the old controls.
    DestroyWindow(dialog_);
    dialog_ = nullptr;
    HWND stranger = CreateWindowExA(0, "Edit", "mine", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(stranger, nullptr);
    view_->SetItemText(kHeightFieldId, "1.0000");
    EXPECT_EQ(view_->ItemText(kHeightFieldId), "");
    EXPECT_EQ(view_->AddListItem(kBackgroundColorId, " ", 3), -1);
    EXPECT_EQ(view_->ListItemCount(kBackgroundColorId), 0);
    view_->SetButtonChecked(kExternalNoId, true);
    EXPECT_FALSE(view_->IsButtonChecked(kExternalNoId));
    char text[16] = {};
    GetWindowTextA(stranger, text, sizeof text);
    EXPECT_STREQ(text, "mine");
    DestroyWindow(stranger);
}
