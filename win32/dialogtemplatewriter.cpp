#include "win32/dialogtemplatewriter.h"

#include <windows.h>

#include <commctrl.h>

namespace {
constexpr std::uint16_t kExtendedVersion = 1;
constexpr std::uint16_t kExtendedSignature = 0xFFFF;
constexpr std::uint16_t kOrdinalMark = 0xFFFF;
constexpr std::uint16_t kNormalWeight = FW_NORMAL;
constexpr std::uint8_t kDefaultCharset = DEFAULT_CHARSET;

// Window classes that the template names by string.
constexpr char16_t kLinkClass[] = u"SysLink";

bool Has(std::uint32_t style, std::uint32_t bit) { return (style & bit) != 0; }

std::int16_t Short(int value) { return static_cast<std::int16_t>(value); }
} // namespace

void DialogTemplateWriter::Word(std::uint16_t value)
{
    bytes_.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<std::uint8_t>(value >> 8));
}

void DialogTemplateWriter::DoubleWord(std::uint32_t value)
{
    Word(static_cast<std::uint16_t>(value & 0xFFFF));
    Word(static_cast<std::uint16_t>(value >> 16));
}

void DialogTemplateWriter::String(std::u16string_view text)
{
    for (char16_t unit : text)
        Word(static_cast<std::uint16_t>(unit));
    Word(0);
}

void DialogTemplateWriter::NameOrOrdinal(const NameOrNumber& value)
{
    if (value.isNumber) {
        Word(kOrdinalMark);
        Word(value.number);
    } else {
        String(value.name);
    }
}

void DialogTemplateWriter::AlignTo(std::size_t boundary)
{
    while (bytes_.size() % boundary != 0)
        bytes_.push_back(0);
}

void DialogTemplateWriter::Begin(const Header& header, std::uint16_t itemCount)
{
    bytes_.clear();
    Word(kExtendedVersion);
    Word(kExtendedSignature);
    DoubleWord(0); // help id
    DoubleWord(header.exStyle);
    DoubleWord(header.style | DS_SETFONT);
    Word(itemCount);
    Word(static_cast<std::uint16_t>(header.x));
    Word(static_cast<std::uint16_t>(header.y));
    Word(static_cast<std::uint16_t>(header.width));
    Word(static_cast<std::uint16_t>(header.height));
    Word(0); // no menu
    Word(0); // the system's dialog class
    String(header.caption);
    Word(header.pointSize);
    Word(kNormalWeight);
    bytes_.push_back(0); // not italic
    bytes_.push_back(kDefaultCharset);
    String(header.fontName);
}

void DialogTemplateWriter::AddItem(const Item& item)
{
    AlignTo(4);
    DoubleWord(0); // help id
    DoubleWord(item.exStyle);
    DoubleWord(item.style);
    Word(static_cast<std::uint16_t>(item.x));
    Word(static_cast<std::uint16_t>(item.y));
    Word(static_cast<std::uint16_t>(item.width));
    Word(static_cast<std::uint16_t>(item.height));
    DoubleWord(item.id);
    NameOrOrdinal(item.windowClass);
    NameOrOrdinal(item.title);
    Word(0); // no creation data
}

Win32DialogStyle DialogStyleOf(const DialogTemplate& dialog)
{
    std::uint32_t style = WS_POPUP | WS_CAPTION | DS_SETFONT;
    std::uint32_t exStyle = 0;
    if (Has(dialog.style, kDialogModalFrame))
        style |= DS_MODALFRAME;
    if (Has(dialog.style, kDialogCloseBox))
        style |= WS_SYSMENU;
    if (Has(dialog.style, kDialogContextHelp)) {
        style |= DS_CONTEXTHELP;
        exStyle |= WS_EX_CONTEXTHELP;
    }
    if (Has(dialog.style, kDialogCentered))
        style |= DS_CENTER;
    if (Has(dialog.style, kDialogOwnTaskbarButton))
        exStyle |= WS_EX_APPWINDOW;
    return {style, exStyle};
}

Win32ControlStyle ControlStyleOf(const ControlTemplate& control)
{
    std::uint32_t style = WS_CHILD;
    if (Has(control.style, kStyleVisible))
        style |= WS_VISIBLE;
    if (Has(control.style, kStyleTabStop))
        style |= WS_TABSTOP;
    if (Has(control.style, kStyleGroup))
        style |= WS_GROUP;

    switch (control.kind) {
    case ControlKind::Label:
        if (Has(control.style, kStyleAlignCenter))
            style |= SS_CENTER;
        else if (Has(control.style, kStyleAlignRight))
            style |= SS_RIGHT;
        else
            style |= SS_LEFT;
        return {ByNumber(kStaticClassAtom), style | SS_NOPREFIX, 0};
    case ControlKind::Line:
        return {ByNumber(kStaticClassAtom), style | SS_ETCHEDHORZ, 0};
    case ControlKind::Picture:
        return {ByNumber(kStaticClassAtom), style | SS_BITMAP | SS_CENTERIMAGE | SS_REALSIZEIMAGE, 0};
    case ControlKind::Icon:
        return {ByNumber(kStaticClassAtom), style | SS_ICON | SS_CENTERIMAGE | SS_REALSIZEIMAGE, 0};
    case ControlKind::Edit:
        style |= ES_LEFT | ES_AUTOHSCROLL | WS_BORDER;
        if (Has(control.style, kStyleReadOnly))
            style |= ES_READONLY;
        return {ByNumber(kEditClassAtom), style, 0};
    case ControlKind::PushButton:
        style |= Has(control.style, kStyleDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        return {ByNumber(kButtonClassAtom), style, 0};
    case ControlKind::Radio:
        return {ByNumber(kButtonClassAtom), style | BS_AUTORADIOBUTTON, 0};
    case ControlKind::DropList:
        style |= CBS_DROPDOWNLIST | WS_VSCROLL;
        if (Has(control.style, kStyleOwnerDraw))
            style |= CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
        return {ByNumber(kComboBoxClassAtom), style, 0};
    case ControlKind::Link:
        if (Has(control.style, kStyleTransparent))
            style |= LWS_TRANSPARENT;
        return {ByName(kLinkClass), style, 0};
    }
    return {ByNumber(kStaticClassAtom), style, 0};
}

std::u16string WidenLatin1(const char* text)
{
    std::u16string wide;
    for (const char* at = text; at != nullptr && *at != '\0'; ++at)
        wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(*at)));
    return wide;
}

std::vector<std::uint8_t> WriteDialogTemplate(const DialogTemplate& dialog)
{
    const Win32DialogStyle frame = DialogStyleOf(dialog);
    const std::u16string caption = WidenLatin1(dialog.caption);
    const std::u16string font = WidenLatin1(dialog.fontName);
    DialogTemplateWriter writer;
    writer.Begin({frame.style, frame.exStyle, 0, 0, Short(dialog.width), Short(dialog.height), caption,
                  static_cast<std::uint16_t>(dialog.fontPointSize), font},
                 static_cast<std::uint16_t>(dialog.controlCount));
    for (int index = 0; index < dialog.controlCount; ++index) {
        const ControlTemplate& control = dialog.controls[index];
        const Win32ControlStyle kind = ControlStyleOf(control);
        const std::u16string text = WidenLatin1(control.text);
        // Pictures and icons name their resource instead of a text.
        const bool image = control.kind == ControlKind::Picture || control.kind == ControlKind::Icon;
        const NameOrNumber title = image ? ByNumber(static_cast<std::uint16_t>(control.resource)) : ByName(text);
        writer.AddItem({kind.style, kind.exStyle, Short(control.rect.x), Short(control.rect.y),
                        Short(control.rect.width), Short(control.rect.height), static_cast<std::uint32_t>(control.id),
                        kind.windowClass, title});
    }
    return writer.Bytes();
}
