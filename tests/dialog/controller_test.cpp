// The dialog's behaviour against a window made of plain data: no toolkit.
#include "dialog/controller.h"
#include "render/canvas.h"
#include "render/palette.h"
#include "resources/dialogtemplate.h"
#include "settings/ini.h"
#include "settings/settings.h"
#include "tests/dialog/fakewindow.h"
#include "tests/export/fakeimagelayer.h"
#include "tests/export/fakeprompts.h"
#include "tests/support/recordingopener.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override { LocateSettingsFile(folder.file("decagon")); }

    DialogController& Open(DecagonRecord* attached)
    {
        controller = std::make_unique<DialogController>(window, DialogServices{&prompts, &opener, &layer});
        controller->InitMainDialog(attached);
        return *controller;
    }
    DialogController& Open() { return Open(&record); }

    void Click(int id) { controller->DispatchCommand(id, ControlEvent::ButtonClicked); }
    // As the user picks an item: the selection changes and the list reports it.
    void Pick(int list, int index)
    {
        window.SetListSelection(list, index);
        controller->DispatchCommand(list, ControlEvent::SelectionChanged);
    }
    void EnterHeight(const std::string& text)
    {
        window.fields[kHeightFieldId] = text;
        Click(kComputeId);
    }
    std::string Text(int id) { return window.fields.at(id); }
    int Selection(int id) { return window.lists.at(id).selection; }
    std::string Settings() const { return ReadFileBytes(SettingsFilePath); }
    std::string SettingsValue(const std::string& section, const std::string& key) const
    {
        return IniGetString(ParseIni(Settings()), section, key).value_or("");
    }

    TempFolder folder;
    DecagonRecord record{};
    FakeWindow window;
    FakePrompts prompts;
    RecordingOpener opener;
    FakeImageLayer layer;
    std::unique_ptr<DialogController> controller;
};

std::set<ColorValue> ColoursOf(const Canvas& canvas)
{
    std::set<ColorValue> colours;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            colours.insert(ColorOfPixel(PixelAt(canvas, x, y)));
    return colours;
}

} // namespace

TEST_F(ControllerTest, FirstStartShowsTheDefaultFigureAndWritesTheSettingsFile)
{
    std::memset(&record, 0x5A, sizeof record);
    Open();
    EXPECT_EQ(controller->AttachedRecord(), &record);
    EXPECT_EQ(Text(kHeightFieldId), "254.8840");
    EXPECT_EQ(Text(kAngleFieldId), "40.0000");
    EXPECT_EQ(Text(1030), "127.4420");
    EXPECT_EQ(Text(1034), "36.0000");
    EXPECT_EQ(Text(1038), "127.4420");
    EXPECT_EQ(Text(1039), "39.3817"); // E6
    EXPECT_EQ(Text(1040), "-121.2045");
    EXPECT_EQ(Text(1053), "-127.4420"); // E3
    EXPECT_EQ(Text(1054), "-0.0000");
    EXPECT_EQ(Text(kLastVertexFieldId), "-121.2045"); // E5's y

    // Fourteen colour lists of 48 swatch items, and the twelve diagonal choices.
    int colourLists = 0;
    for (int id = kExternalCircleColorId; id <= kOutlineColorId; ++id) {
        if (id == kDiagonalChoiceId)
            continue;
        const FakeWindow::List& list = window.lists.at(id);
        ASSERT_EQ(list.texts.size(), 48u) << id;
        for (int item = 0; item < 48; ++item) {
            EXPECT_EQ(list.texts[static_cast<std::size_t>(item)], " ");
            EXPECT_EQ(list.data[static_cast<std::size_t>(item)], item);
        }
        ++colourLists;
    }
    EXPECT_EQ(colourLists, 14);
    const FakeWindow::List& diagonals = window.lists.at(kDiagonalChoiceId);
    EXPECT_EQ(diagonals.texts,
              (std::vector<std::string>{"(None)", "All", "E6", "E7", "E8", "E9", "E10", "E1", "E2", "E3", "E4", "E5"}));
    EXPECT_EQ(diagonals.data, (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));

    // The defaults of a missing settings file are selected.
    EXPECT_EQ(Selection(kBackgroundColorId), 0);
    EXPECT_EQ(Selection(kOutlineColorId), 17);
    EXPECT_EQ(Selection(kExternalCircleColorId), 34);
    EXPECT_EQ(Selection(kInternalCircleColorId), 24);
    const int vertexDefaults[10] = {8, 7, 25, 29, 10, 6, 18, 42, 40, 1};
    for (int row = 0; row < 10; ++row)
        EXPECT_EQ(Selection(kFirstVertexColorId + row), vertexDefaults[row]) << row;
    EXPECT_EQ(Selection(kDiagonalChoiceId), 1); // "All"
    EXPECT_TRUE(window.IsButtonChecked(kExternalYesId));
    EXPECT_TRUE(window.IsButtonChecked(kInternalYesId));
    EXPECT_FALSE(window.IsButtonChecked(kExternalNoId));
    EXPECT_FALSE(window.IsButtonChecked(kInternalNoId));

    EXPECT_EQ(window.limits, (std::map<int, int>{{kHeightFieldId, 9}, {kAngleFieldId, 9}}));
    EXPECT_EQ(window.focused, kHeightFieldId);
    EXPECT_EQ(window.selected.controlId, kHeightFieldId);
    EXPECT_EQ(window.selected.first, 0);
    EXPECT_EQ(window.selected.last, -1);

    EXPECT_EQ(window.presented, 0); // empty until the first Compute
    EXPECT_EQ(window.ends, 0);
    EXPECT_EQ(SettingsValue("Trigo", "Rayon Exterieur"), "127.4420");
    EXPECT_EQ(SettingsValue("Diagonale", "Selected"), "1");
}

TEST_F(ControllerTest, StoredOptionsAndColoursAreShownAndOnesOutsideThePaletteShowTheFirstItem)
{
    WriteFileBytes(SettingsFilePath, "[Colors]\r\nLines=99\r\nBackground=-4\r\nE5=47\r\nExternal Circle=3\r\n");
    Open();
    EXPECT_EQ(Selection(kOutlineColorId), 0);
    EXPECT_EQ(Selection(kBackgroundColorId), 0);
    EXPECT_EQ(Selection(kLastVertexColorId), 47);
    EXPECT_EQ(Selection(kExternalCircleColorId), 3);
    EXPECT_EQ(record.outlineColor, 99);
    EXPECT_EQ(SettingsValue("Colors", "Lines"), "99");
    Click(kComputeId);
    EXPECT_EQ(record.outlineColor, 0);
    EXPECT_EQ(record.backgroundColor, 0);
    EXPECT_EQ(record.diagonalColors[9], 47);
    EXPECT_EQ(SettingsValue("Colors", "Lines"), "0");
}

TEST_F(ControllerTest, ComputeWithAnEmptyHeightChangesNothing)
{
    Open();
    WriteFileBytes(SettingsFilePath, "[Colors]\r\nLines=3\r\n");
    window.fields[kHeightFieldId] = "";
    window.SetButtonChecked(kExternalNoId, true);
    const DecagonRecord before = record;
    Click(kComputeId);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_EQ(Settings(), "[Colors]\r\nLines=3\r\n");
    EXPECT_EQ(Text(1030), "127.4420");
    EXPECT_EQ(Text(kHeightFieldId), "");
    EXPECT_EQ(window.presented, 0);
}

TEST_F(ControllerTest, ComputeReadsTheLeadingNumberOfTheHeight)
{
    Open();
    EnterHeight("abc");
    EXPECT_EQ(Text(kHeightFieldId), "100.0000");
    EXPECT_EQ(Text(1030), "50.0000");
    EnterHeight("12abc");
    EXPECT_EQ(Text(kHeightFieldId), "12.0000");
    EnterHeight("  12");
    EXPECT_EQ(Text(kHeightFieldId), "12.0000");
    EXPECT_EQ(SettingsValue("Trigo", "Rayon Exterieur"), "6.0000");
    EnterHeight("12,5"); // the decimal separator is always "."
    EXPECT_EQ(Text(kHeightFieldId), "12.0000");

    // Text the dialog shows reads back as itself, however long.
    EnterHeight("1e300");
    const std::string shown = Text(kHeightFieldId);
    EXPECT_GT(shown.size(), 300u);
    Click(kComputeId);
    EXPECT_EQ(Text(kHeightFieldId), shown);
    EXPECT_EQ(record.expectedHeight, 1e300);
    EXPECT_EQ(window.presented, 4); // a Compute whose height gives no canvas presents nothing
}

TEST_F(ControllerTest, ComputeReadsEveryOptionAndPresentsThePreview)
{
    Open();
    window.SetButtonChecked(kExternalNoId, true);
    window.SetListSelection(kDiagonalChoiceId, 0);
    window.SetListSelection(kBackgroundColorId, 47);
    window.SetListSelection(kOutlineColorId, 40);
    window.SetListSelection(kInternalCircleColorId, 2);
    window.SetListSelection(kExternalCircleColorId, 3);
    window.SetListSelection(kFirstVertexColorId + 4, 11);
    window.fields[kAngleFieldId] = "";
    EnterHeight("300");

    EXPECT_EQ(record.expectedHeight, 300.0);
    EXPECT_EQ(record.showExternalCircle, 0);
    EXPECT_EQ(record.showInternalCircle, 1);
    EXPECT_EQ(record.diagonalChoice, 0);
    EXPECT_EQ(record.backgroundColor, 47);
    EXPECT_EQ(record.outlineColor, 40);
    EXPECT_EQ(record.internalCircleColor, 2);
    EXPECT_EQ(record.externalCircleColor, 3);
    EXPECT_EQ(record.diagonalColors[4], 11);
    EXPECT_EQ(record.angle3D, 40.0);
    EXPECT_EQ(Text(kAngleFieldId), "40.0000");
    EXPECT_EQ(SettingsValue("Colors", "Background"), "47");

    ASSERT_EQ(window.presented, 1);
    EXPECT_EQ(window.lastBox.width, 250);
    EXPECT_EQ(window.lastBox.height, 250);
    EXPECT_EQ(window.lastWhere.x, 1287 - 260);
    EXPECT_EQ(window.lastWhere.y, 100);
    // White background, the outline, the dotted inner circle (white gaps).
    EXPECT_EQ(ColoursOf(window.lastBox), (std::set<ColorValue>{PaletteColor(47), PaletteColor(40), PaletteColor(2)}));

    // A selection the list does not have reads as -1.
    window.lists.at(kDiagonalChoiceId).selection = -1;
    window.fields[kAngleFieldId] = "12.5";
    EnterHeight("300");
    EXPECT_EQ(record.diagonalChoice, -1);
    EXPECT_EQ(record.angle3D, 12.5);
}

TEST_F(ControllerTest, ExitSavesANewVertexColourButNotANewBackground)
{
    Open();
    window.SetListSelection(kBackgroundColorId, 5);
    Pick(kFirstVertexColorId, 9);
    EXPECT_EQ(record.diagonalColors[0], 9); // at once
    EXPECT_EQ(record.backgroundColor, 0);
    Pick(kLastVertexColorId, 30);
    EXPECT_EQ(record.diagonalColors[9], 30);
    EXPECT_EQ(window.presented, 0); // nothing repainted until Compute

    Click(kExitId);
    EXPECT_EQ(SettingsValue("Colors", "E6"), "9");
    EXPECT_EQ(SettingsValue("Colors", "E5"), "30");
    EXPECT_EQ(SettingsValue("Colors", "Background"), "0");
    EXPECT_EQ(window.ends, 1);
    EXPECT_EQ(window.endedWith, kExitId);
}

TEST_F(ControllerTest, OnlyAUsersChangeInAVertexColourListIsStoredAtOnce)
{
    Open();
    window.SetListSelection(kFirstVertexColorId, 3);
    controller->DispatchCommand(kFirstVertexColorId, ControlEvent::Other); // another notification
    controller->DispatchCommand(kFirstVertexColorId, ControlEvent::ButtonClicked);
    EXPECT_EQ(record.diagonalColors[0], 8);
    window.SetListSelection(kOutlineColorId, 3);
    controller->DispatchCommand(kOutlineColorId, ControlEvent::SelectionChanged); // not a vertex list
    controller->StoreVertexColor(kOutlineColorId, ControlEvent::SelectionChanged);
    controller->StoreVertexColor(kFirstVertexColorId - 1, ControlEvent::SelectionChanged);
    controller->StoreVertexColor(kLastVertexColorId + 1, ControlEvent::SelectionChanged);
    EXPECT_EQ(record.outlineColor, 17);
    EXPECT_EQ(record.diagonalColors[0], 8);
    const DecagonRecord before = record;
    controller->DispatchCommand(kComputeId, ControlEvent::SelectionChanged); // a button with another code
    controller->DispatchCommand(kExitId, ControlEvent::SelectionChanged);
    EXPECT_EQ(window.ends, 0);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
}

TEST_F(ControllerTest, ImagesTakeTheShownOptionsAndVertexColoursAndTheOtherColoursOfTheLastCompute)
{
    Open();
    window.SetListSelection(kDiagonalChoiceId, 0);
    EnterHeight("100");
    Pick(kFirstVertexColorId, 1);                    // red, picked after the Compute
    window.SetListSelection(kBackgroundColorId, 47); // white, picked after the Compute
    window.SetButtonChecked(kExternalNoId, true);
    window.SetButtonChecked(kInternalNoId, true);
    window.SetListSelection(kDiagonalChoiceId, 2); // the fan labelled E6, in the colour of list 1017
    window.fields[kHeightFieldId] = "555";         // not read by the exports

    prompts.answer = folder.file("figure.bmp");
    Click(kExportImageId);
    ASSERT_EQ(layer.saves.size(), 1u);
    EXPECT_EQ(prompts.information.at(0), "The file figure.bmp has been successfully saved");
    EXPECT_EQ(record.showExternalCircle, 0);
    EXPECT_EQ(record.showInternalCircle, 0);
    EXPECT_EQ(record.diagonalChoice, 2);
    EXPECT_EQ(record.backgroundColor, 0);
    EXPECT_EQ(record.expectedHeight, 100.0);
    const Canvas& image = layer.saves[0].bitmap.canvas;
    EXPECT_EQ(image.width, 100);
    EXPECT_EQ(ColoursOf(image), (std::set<ColorValue>{PaletteColor(0), PaletteColor(17), PaletteColor(1)}));

    Click(kCopyImageId);
    ASSERT_EQ(layer.clipboard.size(), 1u);
    EXPECT_EQ(ColoursOf(layer.clipboard[0].canvas), ColoursOf(image));
    EXPECT_EQ(prompts.information.back(), "Image copied into the clipboad");
    EXPECT_EQ(window.presented, 1); // the preview still shows the Compute's figure
}

TEST_F(ControllerTest, ACancelledImageExportLeavesTheRecordAsItWas)
{
    Open();
    window.SetButtonChecked(kExternalNoId, true);
    window.SetListSelection(kDiagonalChoiceId, 5);
    prompts.cancel = true;
    Click(kExportImageId);
    EXPECT_EQ(prompts.dialogs, 1);
    EXPECT_EQ(record.showExternalCircle, 1);
    EXPECT_EQ(record.diagonalChoice, 1);
    EXPECT_TRUE(layer.saves.empty());
}

TEST_F(ControllerTest, WithoutAnImageLayerTheImageButtonsDoNothing)
{
    controller = std::make_unique<DialogController>(window, DialogServices{&prompts, &opener, nullptr});
    controller->InitMainDialog(&record);
    Click(kExportImageId);
    Click(kCopyImageId);
    EXPECT_EQ(prompts.dialogs, 0);
    EXPECT_TRUE(prompts.information.empty());
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(ControllerTest, ExportsTheTextFileOfTheLastCompute)
{
    Open();
    EnterHeight("100");
    window.fields[kHeightFieldId] = "555";
    prompts.answer = folder.file("out.csv");
    Click(kExportTextId);
    const std::string bytes = ReadFileBytes(folder.file("out.csv"));
    ASSERT_GT(bytes.size(), 280u);
    EXPECT_EQ(bytes.substr(280, 11), "100.000000;");
    ASSERT_EQ(prompts.information.size(), 1u);
    EXPECT_EQ(prompts.information[0], "File saved\nThe file is an aSCII Delimited File.");
}

TEST_F(ControllerTest, EnterRunsTheFocusedButtonOrComputeAndEscapeAndTheCloseBoxExit)
{
    Open();
    window.fields[kHeightFieldId] = "12";
    controller->DispatchKey(DialogKey::Enter, kHeightFieldId);
    EXPECT_EQ(Text(kHeightFieldId), "12.0000");
    window.fields[kHeightFieldId] = "20";
    controller->DispatchKey(DialogKey::Enter, kOutlineColorId);
    EXPECT_EQ(Text(kHeightFieldId), "20.0000");
    window.fields[kHeightFieldId] = "21";
    controller->DispatchKey(DialogKey::Enter, kWikipediaLinkId);
    EXPECT_EQ(Text(kHeightFieldId), "21.0000");
    EXPECT_TRUE(opener.opened.empty());

    window.fields[kHeightFieldId] = "30";
    prompts.cancel = true;
    controller->DispatchKey(DialogKey::Enter, kExportTextId);
    EXPECT_EQ(prompts.dialogs, 1);
    controller->DispatchKey(DialogKey::Enter, kExportImageId);
    EXPECT_EQ(prompts.dialogs, 2);
    EXPECT_EQ(Text(kHeightFieldId), "30");
    EXPECT_EQ(window.ends, 0);

    std::remove(SettingsFilePath.c_str());
    controller->DispatchKey(DialogKey::Enter, kExitId);
    EXPECT_EQ(window.ends, 1);
    EXPECT_TRUE(FileExists(SettingsFilePath));

    std::remove(SettingsFilePath.c_str());
    controller->DispatchKey(DialogKey::Escape, kComputeId);
    EXPECT_EQ(window.ends, 2);
    EXPECT_TRUE(FileExists(SettingsFilePath));

    std::remove(SettingsFilePath.c_str());
    controller->DispatchClose();
    EXPECT_EQ(window.ends, 3);
    EXPECT_EQ(window.endedWith, kExitId);
    EXPECT_TRUE(FileExists(SettingsFilePath));
    EXPECT_EQ(Text(kHeightFieldId), "30");
}

TEST_F(ControllerTest, EachLinkOpensOnClickAndOnEnterOnly)
{
    Open();
    controller->OpenLink(kWikipediaLinkId, 0, kWikipediaUrl, ControlEvent::LinkClicked);
    controller->OpenLink(kForumLinkId, 0, kForumUrl, ControlEvent::LinkReturn);
    EXPECT_EQ(opener.opened, (std::vector<std::string>{kWikipediaUrl, kForumUrl}));

    controller->OpenLink(kForumLinkId, 1, "https://elsewhere.example/", ControlEvent::LinkClicked);
    controller->OpenLink(kForumLinkId, 0, "https://elsewhere.example/", ControlEvent::Other);
    controller->OpenLink(kForumLinkId, 0, "https://elsewhere.example/", ControlEvent::ButtonClicked);
    controller->OpenLink(kComputeId, 0, "https://elsewhere.example/", ControlEvent::LinkClicked);
    EXPECT_EQ(opener.opened.size(), 2u);
    EXPECT_EQ(window.ends, 0);
}

TEST_F(ControllerTest, WithoutARecordNothingIsReadOrWrittenAndExitStillEnds)
{
    Open(nullptr);
    EXPECT_EQ(controller->AttachedRecord(), nullptr);
    EXPECT_EQ(window.lists.at(kDiagonalChoiceId).texts.size(), 12u);
    EXPECT_EQ(Selection(kOutlineColorId), 0);
    EXPECT_TRUE(window.IsButtonChecked(kExternalNoId));
    EXPECT_EQ(Text(kHeightFieldId), "0.00"); // the template's text stays
    Click(kComputeId);
    Click(kExportTextId);
    Click(kExportImageId);
    Click(kCopyImageId);
    Pick(kFirstVertexColorId, 3);
    EXPECT_EQ(prompts.dialogs, 0);
    EXPECT_EQ(window.presented, 0);
    Click(kExitId);
    EXPECT_EQ(window.ends, 1);
    EXPECT_FALSE(FileExists(SettingsFilePath));
}

TEST_F(ControllerTest, AWindowWithoutTheControlsIsNoHarm)
{
    FakeWindow bare(false);
    DialogController alone(bare, DialogServices{&prompts, &opener, &layer});
    alone.InitMainDialog(&record);
    EXPECT_EQ(record.diagonalChoice, 1);
    alone.DispatchCommand(kComputeId, ControlEvent::ButtonClicked); // an empty height: nothing
    EXPECT_EQ(bare.presented, 0);
    prompts.answer = folder.file("figure.png");
    alone.DispatchCommand(kExportImageId, ControlEvent::ButtonClicked);
    ASSERT_EQ(layer.saves.size(), 1u);
    EXPECT_EQ(record.showExternalCircle, 0); // no "Yes" button is checked
    EXPECT_EQ(record.diagonalChoice, -1);    // no selection in a list that is not there
    alone.DispatchCommand(kExitId, ControlEvent::ButtonClicked);
    EXPECT_EQ(bare.ends, 1);
}

TEST_F(ControllerTest, DrawPreviewPresentsNothingForANullRecordOrAHeightWithoutCanvas)
{
    DrawPreview(window, nullptr);
    DecagonRecord huge = RecordWithHeight(1e12);
    DrawPreview(window, &huge);
    EXPECT_EQ(window.presented, 0);
    DecagonRecord small = RecordWithHeight(0.5);
    window.client = {0, 0, 700, 480};
    DrawPreview(window, &small);
    ASSERT_EQ(window.presented, 1);
    EXPECT_EQ(window.lastWhere.x, 440);
    EXPECT_EQ(ColoursOf(window.lastBox), std::set<ColorValue>{kWhite});
}
