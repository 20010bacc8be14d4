#pragma once

#include "resources/dialogtemplate.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// An in-memory dialog template (the extended layout that DialogBoxIndirect
// and CreateDialogIndirect take) built from the program's template data.
//
// The extended layout is a header followed by one record per control. Both
// are sequences of 16-bit words; 32-bit fields sit on 4-byte boundaries, and
// every control record starts on one. A class or a title is either a
// zero-terminated UTF-16 string or the word 0xFFFF followed by a number (a
// predefined class's atom, or a resource id).

// Predefined class atoms of the template layout.
constexpr std::uint16_t kButtonClassAtom = 0x0080;
constexpr std::uint16_t kEditClassAtom = 0x0081;
constexpr std::uint16_t kStaticClassAtom = 0x0082;
constexpr std::uint16_t kComboBoxClassAtom = 0x0085;

// A class or a title: a name, or a number (an atom or a resource id).
struct NameOrNumber {
    std::u16string_view name;
    std::uint16_t number = 0;
    bool isNumber = false;
};

constexpr NameOrNumber ByNumber(std::uint16_t number) { return {{}, number, true}; }
constexpr NameOrNumber ByName(std::u16string_view name) { return {name, 0, false}; }

// Appends aligned words, double words and strings; knows nothing of what
// they mean beyond the header and control records above.
class DialogTemplateWriter {
public:
    struct Header {
        std::uint32_t style;
        std::uint32_t exStyle;
        std::int16_t x, y, width, height;
        std::u16string_view caption;
        std::uint16_t pointSize;
        std::u16string_view fontName;
    };
    struct Item {
        std::uint32_t style;
        std::uint32_t exStyle;
        std::int16_t x, y, width, height;
        std::uint32_t id;
        NameOrNumber windowClass;
        NameOrNumber title;
    };

    // Starts the template; itemCount is the number of AddItem calls to come.
    void Begin(const Header& header, std::uint16_t itemCount);
    void AddItem(const Item& item);

    // The template so far. The buffer comes from operator new, whose
    // alignment exceeds the 4 bytes that the system asks of a template.
    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

    // Building blocks.
    void Word(std::uint16_t value);
    void DoubleWord(std::uint32_t value);
    void String(std::u16string_view text); // with its terminating zero
    void NameOrOrdinal(const NameOrNumber& value);
    void AlignTo(std::size_t boundary); // pads with zero bytes

private:
    std::vector<std::uint8_t> bytes_;
};

// What a control of the program's template becomes in the system's
// template: its window class and its style bits.
struct Win32ControlStyle {
    NameOrNumber windowClass;
    std::uint32_t style;
    std::uint32_t exStyle;
};

// The window style bits of the dialog itself.
struct Win32DialogStyle {
    std::uint32_t style;
    std::uint32_t exStyle;
};

Win32DialogStyle DialogStyleOf(const DialogTemplate& dialog);
Win32ControlStyle ControlStyleOf(const ControlTemplate& control);

// Latin-1 text as UTF-16, for the template's captions and texts.
std::u16string WidenLatin1(const char* text);

// The whole template, controls in the program's template order (which is
// the tab order).
std::vector<std::uint8_t> WriteDialogTemplate(const DialogTemplate& dialog);
