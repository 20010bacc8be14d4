// The in-memory dialog template: read back word by word, and run by the
// system itself to see that every control arrives with its class, style,
// place and tab order.
#include "resources/dialogtemplate.h"
#include "win32/dialogtemplatewriter.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
// Reads a template back the way the system does.
class TemplateReader {
public:
    explicit TemplateReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    std::size_t Offset() const { return at_; }
    bool AtEnd() const { return at_ >= bytes_.size(); }
    std::uint8_t Byte() { return at_ < bytes_.size() ? bytes_[at_++] : 0xEE; }
    std::uint16_t Word()
    {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }
    std::uint32_t DoubleWord()
    {
        const std::uint32_t low = Word();
        return low | (static_cast<std::uint32_t>(Word()) << 16);
    }
    std::u16string String()
    {
        std::u16string text;
        for (std::uint16_t unit = Word(); unit != 0 && !AtEnd(); unit = Word())
            text.push_back(static_cast<char16_t>(unit));
        return text;
    }
    // A class or title: "#n" for a number, else the name.
    std::u16string NameOrNumber()
    {
        if (at_ + 1 < bytes_.size() && bytes_[at_] == 0xFF && bytes_[at_ + 1] == 0xFF) {
            Word();
            const std::string number = "#" + std::to_string(Word());
            return std::u16string(number.begin(), number.end());
        }
        return String();
    }
    void Align()
    {
        while (at_ % 4 != 0)
            ++at_;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t at_ = 0;
};

struct ReadItem {
    std::size_t offset;
    std::uint32_t exStyle;
    std::uint32_t style;
    std::int16_t x, y, width, height;
    std::uint32_t id;
    std::u16string windowClass;
    std::u16string title;
};

std::u16string Wide(const char* text) { return WidenLatin1(text); }

std::vector<int> ExpectedTabCycle()
{
    // The tab stops in template order; the hidden angle field and the radio
    // buttons have none that counts.
    std::vector<int> order = {1028};
    for (int id = 1030; id <= 1058; ++id)
        order.push_back(id);
    for (int id : {1003, 1013, 1014, 1015, 1016})
        order.push_back(id);
    for (int id = 1017; id <= 1026; ++id)
        order.push_back(id);
    for (int id : {1004, 1005, 1006, 1066, 1067, 2, 1027})
        order.push_back(id);
    return order;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM)
{
    // Owner-drawn lists ask for their item height while they are created.
    if (message == WM_MEASUREITEM)
        return TRUE;
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The main template, created by the system as a modeless, hidden dialog.
class LiveDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
        InitCommonControlsEx(&classes);
        bytes_ = WriteDialogTemplate(MainDialogTemplate);
        dialog_ = CreateDialogIndirectParamW(
            GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()), nullptr, QuietProc, 0);
        ASSERT_NE(dialog_, nullptr) << "error " << GetLastError();
    }
    void TearDown() override
    {
        if (dialog_ != nullptr)
            DestroyWindow(dialog_);
    }
    std::vector<std::uint8_t> bytes_;
    HWND dialog_ = nullptr;
};
} // namespace

TEST(DialogTemplateWriter, PadsEachControlRecordToFourBytesWithZeros)
{
    DialogTemplateWriter writer;
    writer.Begin({WS_POPUP, 0, 1, 2, 30, 40, u"abc", 8, u"Tahoma"}, 2);
    const std::size_t header = writer.Bytes().size();
    writer.AddItem({WS_CHILD, 0, 0, 0, 10, 10, 7, ByNumber(kStaticClassAtom), ByName(u"x")});
    const std::size_t first = writer.Bytes().size();
    writer.AddItem({WS_CHILD, 0, 0, 0, 10, 10, 8, ByName(u"SysLink"), ByNumber(1000)});
    const std::vector<std::uint8_t>& bytes = writer.Bytes();

    // Header of an odd number of words: the first record starts on the next
    // multiple of four, and the gap is zero.
    const std::size_t firstStart = (header + 3) / 4 * 4;
    const std::size_t secondStart = (first + 3) / 4 * 4;
    EXPECT_EQ(header % 4, 2u) << "the case under test needs padding";
    EXPECT_EQ(first % 4, 2u) << "the case under test needs padding";
    for (std::size_t at = header; at < firstStart; ++at)
        EXPECT_EQ(bytes[at], 0) << at;
    TemplateReader reader(bytes);
    EXPECT_EQ(reader.Word(), 1);      // version
    EXPECT_EQ(reader.Word(), 0xFFFF); // extended signature
    EXPECT_EQ(reader.DoubleWord(), 0u);
    EXPECT_EQ(reader.DoubleWord(), 0u);
    EXPECT_EQ(reader.DoubleWord(), static_cast<std::uint32_t>(WS_POPUP | DS_SETFONT)) << "font follows the caption";
    EXPECT_EQ(reader.Word(), 2);
    EXPECT_EQ(reader.Word(), 1);
    EXPECT_EQ(reader.Word(), 2);
    EXPECT_EQ(reader.Word(), 30);
    EXPECT_EQ(reader.Word(), 40);
    EXPECT_EQ(reader.Word(), 0); // menu
    EXPECT_EQ(reader.Word(), 0); // class
    EXPECT_EQ(reader.String(), u"abc");
    EXPECT_EQ(reader.Word(), 8);
    EXPECT_EQ(reader.Word(), static_cast<std::uint16_t>(FW_NORMAL));
    EXPECT_EQ(reader.Byte(), 0);
    EXPECT_EQ(reader.Byte(), DEFAULT_CHARSET);
    EXPECT_EQ(reader.String(), u"Tahoma");
    EXPECT_EQ(reader.Offset(), header);

    reader.Align();
    EXPECT_EQ(reader.Offset(), firstStart);
    reader.DoubleWord();
    reader.DoubleWord();
    EXPECT_EQ(reader.DoubleWord(), static_cast<std::uint32_t>(WS_CHILD));
    for (int field = 0; field < 4; ++field)
        reader.Word();
    EXPECT_EQ(reader.DoubleWord(), 7u);
    EXPECT_EQ(reader.NameOrNumber(), u"#130");
    EXPECT_EQ(reader.NameOrNumber(), u"x");
    EXPECT_EQ(reader.Word(), 0); // creation data
    EXPECT_EQ(reader.Offset(), first);

    reader.Align();
    EXPECT_EQ(reader.Offset(), secondStart);
    for (int field = 0; field < 3; ++field)
        reader.DoubleWord();
    for (int field = 0; field < 4; ++field)
        reader.Word();
    EXPECT_EQ(reader.DoubleWord(), 8u);
    EXPECT_EQ(reader.NameOrNumber(), u"SysLink");
    EXPECT_EQ(reader.NameOrNumber(), u"#1000");
    EXPECT_EQ(reader.Word(), 0);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(DialogTemplateWriter, WritesTheMainTemplateControlByControlInTemplateOrder)
{
    const std::vector<std::uint8_t> bytes = WriteDialogTemplate(MainDialogTemplate);
    TemplateReader reader(bytes);
    reader.Word();
    reader.Word();
    reader.DoubleWord();
    const std::uint32_t exStyle = reader.DoubleWord();
    const std::uint32_t style = reader.DoubleWord();
    const std::uint16_t count = reader.Word();
    EXPECT_EQ(count, static_cast<std::uint16_t>(MainDialogTemplate.controlCount));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_CONTEXTHELP | DS_SETFONT),
              static_cast<std::uint32_t>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER |
                                         DS_CONTEXTHELP | DS_SETFONT));
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0u) << "fixed size, no minimise or maximise";
    EXPECT_NE(exStyle & WS_EX_APPWINDOW, 0u) << "a taskbar button of its own";
    reader.Word();
    reader.Word();
    EXPECT_EQ(reader.Word(), 858);
    EXPECT_EQ(reader.Word(), 294);
    reader.Word();
    reader.Word();
    EXPECT_EQ(reader.String(), u"Define the decagon");
    EXPECT_EQ(reader.Word(), 8);
    reader.Word();
    reader.Word();
    EXPECT_EQ(reader.String(), u"Tahoma");

    std::vector<ReadItem> items;
    for (int index = 0; index < count; ++index) {
        reader.Align();
        ReadItem item{};
        item.offset = reader.Offset();
        reader.DoubleWord();
        item.exStyle = reader.DoubleWord();
        item.style = reader.DoubleWord();
        item.x = static_cast<std::int16_t>(reader.Word());
        item.y = static_cast<std::int16_t>(reader.Word());
        item.width = static_cast<std::int16_t>(reader.Word());
        item.height = static_cast<std::int16_t>(reader.Word());
        item.id = reader.DoubleWord();
        item.windowClass = reader.NameOrNumber();
        item.title = reader.NameOrNumber();
        EXPECT_EQ(reader.Word(), 0) << index;
        items.push_back(item);
    }
    EXPECT_TRUE(reader.AtEnd());
    ASSERT_EQ(items.size(), static_cast<std::size_t>(MainDialogTemplate.controlCount));

    for (std::size_t index = 0; index < items.size(); ++index) {
        const ControlTemplate& source = MainDialogTemplate.controls[index];
        const ReadItem& item = items[index];
        SCOPED_TRACE("control " + std::to_string(index) + " id " + std::to_string(source.id));
        EXPECT_EQ(item.offset % 4, 0u);
        EXPECT_EQ(static_cast<std::int32_t>(item.id), source.id);
        EXPECT_EQ(item.x, source.rect.x);
        EXPECT_EQ(item.y, source.rect.y);
        EXPECT_EQ(item.width, source.rect.width);
        EXPECT_EQ(item.height, source.rect.height);
        EXPECT_NE(item.style & WS_CHILD, 0u);
        EXPECT_EQ((item.style & WS_VISIBLE) != 0, (source.style & kStyleVisible) != 0);
        EXPECT_EQ((item.style & WS_TABSTOP) != 0, (source.style & kStyleTabStop) != 0);
        EXPECT_EQ((item.style & WS_GROUP) != 0, (source.style & kStyleGroup) != 0);
        // Pictures and icons name their resource, links their class.
        if (source.kind == ControlKind::Picture || source.kind == ControlKind::Icon)
            EXPECT_EQ(item.title, u"#" + Wide(std::to_string(source.resource).c_str()));
        else
            EXPECT_EQ(item.title, Wide(source.text));
        EXPECT_EQ(item.windowClass == u"SysLink", source.kind == ControlKind::Link);
    }
}

TEST_F(LiveDialog, CreatesEveryControlWithItsClassAndPlaceInDialogUnits)
{
    for (int index = 0; index < MainDialogTemplate.controlCount; ++index) {
        const ControlTemplate& source = MainDialogTemplate.controls[index];
        if (source.id == kNoControlId)
            continue;
        SCOPED_TRACE("id " + std::to_string(source.id));
        HWND control = GetDlgItem(dialog_, source.id);
        ASSERT_NE(control, nullptr);
        const std::string windowClass = ClassOf(control);
        switch (source.kind) {
        case ControlKind::Edit:
            EXPECT_EQ(windowClass, "Edit");
            break;
        case ControlKind::PushButton:
        case ControlKind::Radio:
            EXPECT_EQ(windowClass, "Button");
            break;
        case ControlKind::DropList:
            EXPECT_EQ(windowClass, "ComboBox");
            break;
        case ControlKind::Link:
            EXPECT_EQ(windowClass, "SysLink");
            break;
        default:
            break;
        }
        // The system converts the place and the size each on its own.
        RECT place = {source.rect.x, source.rect.y, source.rect.width, source.rect.height};
        MapDialogRect(dialog_, &place);
        RECT actual = {};
        GetWindowRect(control, &actual);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, place.left);
        EXPECT_EQ(actual.top, place.top);
        if (source.kind != ControlKind::DropList) { // a closed list is one item high
            EXPECT_EQ(actual.right - actual.left, place.right);
            EXPECT_EQ(actual.bottom - actual.top, place.bottom);
        }
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        EXPECT_EQ((style & WS_VISIBLE) != 0, source.id != kAngleFieldId);
        switch (source.kind) {
        case ControlKind::Edit:
            EXPECT_EQ((style & ES_READONLY) != 0, source.id >= 1030);
            EXPECT_NE(style & ES_AUTOHSCROLL, 0);
            break;
        case ControlKind::PushButton:
            EXPECT_EQ(style & BS_TYPEMASK, source.id == kComputeId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::Radio:
            EXPECT_EQ(style & BS_TYPEMASK, BS_AUTORADIOBUTTON);
            break;
        case ControlKind::DropList:
            EXPECT_EQ(style & 0x3, CBS_DROPDOWNLIST);
            EXPECT_EQ(style & CBS_SORT, 0);
            EXPECT_EQ(style & (CBS_OWNERDRAWFIXED | CBS_HASSTRINGS),
                      source.id == kDiagonalChoiceId ? 0 : CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
            break;
        case ControlKind::Link:
            EXPECT_NE(style & LWS_TRANSPARENT, 0);
            break;
        default:
            break;
        }
    }

    // The picture and the icon come from the program's resources, which this
    // test program carries too.
    HWND picture = nullptr;
    HWND icon = nullptr;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG type = GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK;
        if (ClassOf(child) == "Static" && type == SS_BITMAP)
            picture = child;
        if (ClassOf(child) == "Static" && type == SS_ICON)
            icon = child;
    }
    ASSERT_NE(picture, nullptr);
    ASSERT_NE(icon, nullptr);
    BITMAP bitmap = {};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                           sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmWidth, 253);
    EXPECT_EQ(bitmap.bmHeight, 300);
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);

    // The client area is the template's size, in Tahoma 8's dialog units.
    RECT size = {0, 0, MainDialogTemplate.width, MainDialogTemplate.height};
    MapDialogRect(dialog_, &size);
    RECT client = {};
    GetClientRect(dialog_, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    LOGFONTW font = {};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog_, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");

    wchar_t caption[64] = {};
    GetWindowTextW(dialog_, caption, 64);
    EXPECT_STREQ(caption, L"Define the decagon");
    EXPECT_NE(GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_CONTEXTHELP, 0);
}

TEST_F(LiveDialog, TabbingVisitsTheControlsInTemplateOrderAndSkipsTheHiddenField)
{
    const std::vector<int> expected = ExpectedTabCycle();
    std::vector<int> visited;
    HWND at = GetDlgItem(dialog_, kHeightFieldId);
    for (std::size_t step = 0; step < expected.size() + 1 && at != nullptr; ++step) {
        visited.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dialog_, at, FALSE);
    }
    std::vector<int> cycle = expected;
    cycle.push_back(expected.front()); // and round again
    EXPECT_EQ(visited, cycle);
}

TEST_F(LiveDialog, RadioPairsAreGroupsOfTheirOwn)
{
    // Checking one button of a pair clears the other and leaves the other
    // pair alone, as automatic radio buttons in separate groups do.
    CheckRadioButton(dialog_, kExternalYesId, kExternalNoId, kExternalYesId);
    CheckRadioButton(dialog_, kInternalYesId, kInternalNoId, kInternalNoId);
    SendDlgItemMessageW(dialog_, kExternalNoId, BM_CLICK, 0, 0);
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kExternalYesId), static_cast<UINT>(BST_UNCHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kExternalNoId), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kInternalNoId), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, GetDlgItem(dialog_, kExternalYesId), FALSE),
              GetDlgItem(dialog_, kExternalNoId));
    EXPECT_EQ(GetNextDlgGroupItem(dialog_, GetDlgItem(dialog_, kExternalNoId), FALSE),
              GetDlgItem(dialog_, kExternalYesId));
}

TEST_F(LiveDialog, LinksHoldOneLinkWithItsTarget)
{
    for (int id : {kWikipediaLinkId, kForumLinkId}) {
        LITEM item = {};
        item.mask = LIF_ITEMINDEX | LIF_URL;
        item.iLink = 0;
        ASSERT_TRUE(SendDlgItemMessageW(dialog_, id, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item))) << id;
        const std::u16string url = Wide(id == kWikipediaLinkId ? kWikipediaUrl : kForumUrl);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(item.szUrl)), url);
        item.iLink = 1;
        EXPECT_FALSE(SendDlgItemMessageW(dialog_, id, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item))) << id;
    }
    wchar_t text[128] = {};
    GetDlgItemTextW(dialog_, kWikipediaLinkId, text, 128);
    EXPECT_EQ(std::wstring(text).find(L"The fields are positionned in the order they can be seen on "), 0u);
}
