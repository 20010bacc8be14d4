#pragma once

#include <cstdint>

// The main dialog's template as plain data: the window and every control
// and static item, with positions in dialog units. Whoever builds the
// window on a given platform reads it from here; nothing in this unit knows
// a window system.

// A rectangle in dialog units: horizontal units are a quarter of the dialog
// font's average character width, vertical units an eighth of its height.
struct DialogRect {
    int x;
    int y;
    int width;
    int height;
};

enum class ControlKind {
    Label,      // static text
    Line,       // etched horizontal separator
    Picture,    // a bitmap resource, centred in its frame at its own size
    Icon,       // an icon resource, centred in its frame
    Edit,       // single-line edit field with a border, scrolling sideways
    PushButton, // push button
    Radio,      // automatic radio button
    DropList,   // drop-down list to pick from, no typing; height = dropped-down height
    Link,       // text with one or more <a href="...">...</a> links
};

// Style bits of a control.
enum ControlStyle : std::uint32_t {
    kStyleVisible = 1u << 0,
    kStyleTabStop = 1u << 1,
    kStyleGroup = 1u << 2,         // starts a group (radio buttons: a new exclusive set)
    kStyleAlignCenter = 1u << 3,   // text centred (labels); left-aligned when neither bit is set
    kStyleAlignRight = 1u << 4,    // text right-aligned (labels)
    kStyleReadOnly = 1u << 5,      // edit fields
    kStyleDefaultButton = 1u << 6, // the button that Enter presses
    kStyleOwnerDraw = 1u << 7,     // drop lists whose items the dialog paints (fixed item height)
    kStyleTransparent = 1u << 8,   // links: no background of their own
};

// Statics carry this id.
constexpr int kNoControlId = -1;

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text; // for pictures and icons: empty; see resource
    DialogRect rect;
    std::uint32_t style;
    int resource; // bitmap or icon resource id for pictures and icons, else 0
};

// Window style bits.
enum DialogStyle : std::uint32_t {
    kDialogModalFrame = 1u << 0,
    kDialogCloseBox = 1u << 1,
    kDialogContextHelp = 1u << 2,
    kDialogCentered = 1u << 3,
    kDialogOwnTaskbarButton = 1u << 4,
};

struct DialogTemplate {
    int id;
    const char* caption;
    const char* fontName;
    int fontPointSize;
    int width; // client area, dialog units
    int height;
    std::uint32_t style;
    const ControlTemplate* controls; // template order: statics, then controls in tab order
    int controlCount;
};

// Template and resource ids.
constexpr int kMainDialogTemplateId = 1002;
constexpr int kConstructionBitmapId = 1000;
constexpr int kProgramIconId = 1071;

// Control ids of the main dialog.
constexpr int kExitId = 2;
constexpr int kComputeId = 1003;
constexpr int kExportImageId = 1004;
constexpr int kExportTextId = 1005;
constexpr int kCopyImageId = 1006;
constexpr int kExternalCircleColorId = 1013;
constexpr int kInternalCircleColorId = 1014;
constexpr int kBackgroundColorId = 1015;
constexpr int kDiagonalChoiceId = 1016;
constexpr int kFirstVertexColorId = 1017; // 1017 to 1026: diagonalColors[0] to [9]
constexpr int kLastVertexColorId = 1026;
constexpr int kOutlineColorId = 1027;
constexpr int kHeightFieldId = 1028;
constexpr int kAngleFieldId = 1029;
constexpr int kFirstResultFieldId = 1030; // 1030 to 1038
constexpr int kFirstVertexFieldId = 1039; // x of row r: 1039 + 2r, y: 1040 + 2r
constexpr int kLastVertexFieldId = 1058;
constexpr int kExternalYesId = 1060;
constexpr int kExternalNoId = 1061;
constexpr int kInternalYesId = 1062;
constexpr int kInternalNoId = 1063;
constexpr int kWikipediaLinkId = 1066;
constexpr int kForumLinkId = 1067;

// The targets of the two links.
extern const char kWikipediaUrl[];
extern const char kForumUrl[];

// Template 1002: "Define the decagon".
extern const DialogTemplate MainDialogTemplate;

// The control with this id, or null when the template has none. Statics
// share kNoControlId and are not found this way.
const ControlTemplate* FindControl(const DialogTemplate& dialog, int id);
