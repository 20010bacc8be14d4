#include "resources/dialogtemplate.h"

#include <iterator>

// The link targets: the encyclopedia's article on the decagon, and the
// mathematics site of the Stack Exchange network. Macros, so that the link
// texts below can embed them.
#define DECAGON_WIKIPEDIA_URL "https://en.wikipedia.org/wiki/Decagon"
#define DECAGON_FORUM_URL "https://math.stackexchange.com/"

const char kWikipediaUrl[] = DECAGON_WIKIPEDIA_URL;
const char kForumUrl[] = DECAGON_FORUM_URL;

namespace {
constexpr std::uint32_t V = kStyleVisible;
constexpr std::uint32_t T = kStyleTabStop;
constexpr std::uint32_t G = kStyleGroup;
constexpr std::uint32_t Center = kStyleAlignCenter;
constexpr std::uint32_t Right = kStyleAlignRight;
constexpr std::uint32_t RO = kStyleReadOnly;
constexpr std::uint32_t Def = kStyleDefaultButton;
constexpr std::uint32_t Owner = kStyleOwnerDraw;
constexpr std::uint32_t Clear = kStyleTransparent;

constexpr ControlKind Label = ControlKind::Label;
constexpr ControlKind Line = ControlKind::Line;
constexpr ControlKind Picture = ControlKind::Picture;
constexpr ControlKind Icon = ControlKind::Icon;
constexpr ControlKind Edit = ControlKind::Edit;
constexpr ControlKind Button = ControlKind::PushButton;
constexpr ControlKind Radio = ControlKind::Radio;
constexpr ControlKind List = ControlKind::DropList;
constexpr ControlKind Link = ControlKind::Link;

constexpr int S = kNoControlId;
constexpr int kListWidth = 76;
constexpr int kDroppedHeight = 300;

const ControlTemplate kControls[] = {
    // Statics.
    {S, Label, "Expected height:", {24, 4, 60, 8}, V, 0},
    {S, Label, "Angle for the 3D view:", {8, 20, 77, 8}, 0, 0},
    {S,
     Label,
     "The height in this field will be used for the diameter of the circle into whitch the decagon is drawn. If the "
     "decagon is too big, it will be stretched on the screen.",
     {136, 4, 360, 16},
     V,
     0},
    {S, Line, "", {0, 36, 496, 1}, V, 0},
    {S, Label, "Datas computed from the given height", {0, 40, 496, 8}, V | Center, 0},
    {S, Icon, "", {136, 52, 48, 40}, V | Center, kProgramIconId},
    {S, Label, "External Radius :", {16, 54, 60, 8}, V | Right, 0},
    {S, Label, "Internal Radius :", {16, 66, 60, 8}, V | Right, 0},
    {S, Label, "Hypothenus:", {32, 78, 44, 8}, V | Right, 0},
    {S, Label, "Choord:", {32, 90, 44, 8}, V | Right, 0},
    {S, Label, "Angle:", {32, 102, 44, 8}, V | Right, 0},
    {S, Label, "Arc :", {32, 114, 44, 8}, V | Right, 0},
    {S, Label, "D:", {32, 126, 44, 8}, V | Right, 0},
    {S, Label, "Center (X,Y)", {16, 144, 60, 8}, V | Right, 0},
    {S, Label, "E6", {244, 48, 80, 8}, V | Center, 0},
    {S, Label, "E7", {204, 72, 80, 8}, V | Center, 0},
    {S, Label, "E8", {184, 96, 80, 8}, V | Center, 0},
    {S, Label, "E9", {204, 120, 80, 8}, V | Center, 0},
    {S, Label, "E10", {244, 144, 80, 8}, V | Center, 0},
    {S, Label, "E1", {336, 144, 80, 8}, V | Center, 0},
    {S, Label, "E2", {380, 120, 80, 8}, V | Center, 0},
    {S, Label, "E3", {396, 96, 80, 8}, V | Center, 0},
    {S, Label, "E4", {376, 72, 80, 8}, V | Center, 0},
    {S, Label, "E5", {336, 48, 80, 8}, V | Center, 0},
    {S, Line, "", {0, 172, 496, 1}, V, 0},
    {S, Label, "The datas displayed are indepent of the screen used.", {4, 176, 184, 8}, V | Center, 0},
    {S, Label, "Display external circle?", {32, 188, 88, 8}, V, 0},
    {S, Label, "Display internal circle?", {32, 200, 88, 8}, V, 0},
    {S, Label, "External circle color:", {208, 180, 68, 8}, V | Right, 0},
    {S, Label, "Internal circle color:", {208, 196, 68, 8}, V | Right, 0},
    {S, Label, "Background color:", {208, 212, 68, 8}, V | Right, 0},
    {S, Label, "Select diagonals to display:", {368, 176, 88, 8}, V, 0},
    {S, Label, "Color Lines", {368, 204, 88, 8}, V | Center, 0},
    {S, Label, "Select the color used for each dialgonals", {12, 228, 180, 8}, V | Center, 0},
    {S, Label, "E1", {12, 244, 12, 8}, V | Right, 0},
    {S, Label, "E2", {112, 244, 12, 8}, V | Right, 0},
    {S, Label, "E3", {212, 244, 12, 8}, V | Right, 0},
    {S, Label, "E4", {312, 244, 12, 8}, V | Right, 0},
    {S, Label, "E5", {412, 244, 12, 8}, V | Right, 0},
    {S, Label, "E10", {12, 260, 12, 8}, V | Right, 0},
    {S, Label, "E9", {112, 260, 12, 8}, V | Right, 0},
    {S, Label, "E8", {212, 260, 12, 8}, V | Right, 0},
    {S, Label, "E7", {312, 260, 12, 8}, V | Right, 0},
    {S, Label, "E6", {412, 260, 12, 8}, V | Right, 0},
    {S, Picture, "", {504, 12, 168, 220}, V | Center, kConstructionBitmapId},

    // Controls, in tab order.
    {kHeightFieldId, Edit, "0.00", {88, 4, 40, 12}, V | T | G, 0},
    {kAngleFieldId, Edit, "0.00", {88, 20, 40, 12}, T, 0},
    {1030, Edit, "", {80, 52, 40, 12}, V | T | RO, 0},
    {1031, Edit, "", {80, 64, 40, 12}, V | T | RO, 0},
    {1032, Edit, "", {80, 76, 40, 12}, V | T | RO, 0},
    {1033, Edit, "", {80, 88, 40, 12}, V | T | RO, 0},
    {1034, Edit, "", {80, 100, 40, 12}, V | T | RO, 0},
    {1035, Edit, "", {80, 112, 40, 12}, V | T | RO, 0},
    {1036, Edit, "", {80, 124, 40, 12}, V | T | RO, 0},
    {1037, Edit, "", {80, 136, 40, 12}, V | T | RO, 0},
    {1038, Edit, "", {80, 148, 40, 12}, V | T | RO, 0},
    {1039, Edit, "", {244, 56, 40, 12}, V | T | RO, 0},
    {1040, Edit, "", {284, 56, 40, 12}, V | T | RO, 0},
    {1041, Edit, "", {204, 80, 40, 12}, V | T | RO, 0},
    {1042, Edit, "", {244, 80, 40, 12}, V | T | RO, 0},
    {1043, Edit, "", {184, 104, 40, 12}, V | T | RO, 0},
    {1044, Edit, "", {224, 104, 40, 12}, V | T | RO, 0},
    {1045, Edit, "", {204, 128, 40, 12}, V | T | RO, 0},
    {1046, Edit, "", {244, 128, 40, 12}, V | T | RO, 0},
    {1047, Edit, "", {244, 152, 40, 12}, V | T | RO, 0},
    {1048, Edit, "", {284, 152, 40, 12}, V | T | RO, 0},
    {1049, Edit, "", {336, 152, 40, 12}, V | T | RO, 0},
    {1050, Edit, "", {376, 152, 40, 12}, V | T | RO, 0},
    {1051, Edit, "", {380, 128, 40, 12}, V | T | RO, 0},
    {1052, Edit, "", {420, 128, 40, 12}, V | T | RO, 0},
    {1053, Edit, "", {396, 104, 40, 12}, V | T | RO, 0},
    {1054, Edit, "", {436, 104, 40, 12}, V | T | RO, 0},
    {1055, Edit, "", {376, 80, 40, 12}, V | T | RO, 0},
    {1056, Edit, "", {416, 80, 40, 12}, V | T | RO, 0},
    {1057, Edit, "", {336, 56, 40, 12}, V | T | RO, 0},
    {1058, Edit, "", {376, 56, 40, 12}, V | T | RO, 0},
    {kComputeId, Button, "Compute", {448, 152, 44, 16}, V | T | Def, 0},
    {kExternalYesId, Radio, "Yes", {124, 188, 25, 10}, V | G, 0},
    {kExternalNoId, Radio, "No", {156, 188, 22, 10}, V, 0},
    {kInternalYesId, Radio, "Yes", {124, 200, 25, 10}, V | G, 0},
    {kInternalNoId, Radio, "No", {156, 200, 22, 10}, V, 0},
    {kExternalCircleColorId, List, "", {284, 180, kListWidth, kDroppedHeight}, V | T | G | Owner, 0},
    {kInternalCircleColorId, List, "", {284, 196, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {kBackgroundColorId, List, "", {284, 212, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {kDiagonalChoiceId, List, "", {372, 188, kListWidth, kDroppedHeight}, V | T, 0},
    {1017, List, "", {428, 256, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {1018, List, "", {328, 256, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {1019, List, "", {228, 256, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {1020, List, "", {128, 256, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {1021, List, "", {28, 256, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {1022, List, "", {28, 240, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {1023, List, "", {128, 240, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {1024, List, "", {228, 240, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {1025, List, "", {328, 240, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {1026, List, "", {428, 240, kListWidth, kDroppedHeight}, V | T | Owner, 0},
    {kExportImageId, Button, "Generate JPEG image", {472, 276, 116, 16}, V | T, 0},
    {kExportTextId, Button, "Generate a CSV file", {592, 276, 116, 16}, V | T, 0},
    {kCopyImageId, Button, "Copy the image into the clipboard", {712, 276, 116, 16}, V | T, 0},
    {kWikipediaLinkId,
     Link,
     "The fields are positionned in the order they can be seen on <a href=\"" DECAGON_WIKIPEDIA_URL "\">Wikipedia</a>.",
     {292, 84, 80, 40},
     V | T | Clear,
     0},
    {kForumLinkId,
     Link,
     "<a href=\"" DECAGON_FORUM_URL "\">Math Stack Exchange</a>",
     {404, 24, 92, 9},
     V | T | Clear,
     0},
    {kExitId, Button, "Exit", {252, 276, 44, 16}, V | T, 0},
    {kOutlineColorId, List, "", {372, 212, kListWidth, kDroppedHeight}, V | T | Owner, 0},
};
} // namespace

const DialogTemplate MainDialogTemplate = {
    kMainDialogTemplateId,
    "Define the decagon",
    "Tahoma",
    8,
    858,
    294,
    kDialogModalFrame | kDialogCloseBox | kDialogContextHelp | kDialogCentered | kDialogOwnTaskbarButton,
    kControls,
    static_cast<int>(std::size(kControls)),
};

const ControlTemplate* FindControl(const DialogTemplate& dialog, int id)
{
    if (id == kNoControlId)
        return nullptr;
    for (int index = 0; index < dialog.controlCount; ++index) {
        if (dialog.controls[index].id == id)
            return &dialog.controls[index];
    }
    return nullptr;
}
