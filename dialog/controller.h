#pragma once

#include "dialog/dialogwindow.h"
#include "dialog/urlopener.h"
#include "export/imagelayer.h"
#include "export/prompts.h"
#include "model/record.h"
#include "render/figureoptions.h"

#include <string>

// What happened to a control, as the handlers tell it apart: a push button
// clicked, a list's selection changed by the user, a link clicked or Enter
// pressed on it. Each front end translates its toolkit's notifications into
// these; any other is Other.
enum class ControlEvent { Other, ButtonClicked, SelectionChanged, LinkClicked, LinkReturn };

constexpr int kTypedTextLimit = 9; // characters the user may type into 1028 and 1029

// The keys that the dialog itself turns into commands.
enum class DialogKey { Enter, Escape };

// What the dialog needs from the rest of the program. The prompts run the
// save dialogs and message boxes of the export commands; without an image
// layer the image buttons do nothing.
struct DialogServices {
    UserPrompts* prompts = nullptr;
    UrlOpener* urlOpener = nullptr;
    ImageLayer* imageLayer = nullptr;
};

// The main dialog's behaviour, without any window system: every handler of
// the dialog and the decisions of its dialog procedure. It owns no widget;
// it reads and sets the controls through the window and keeps the record
// that the window's initialisation attaches. A front end builds the window,
// forwards its events here and does nothing else of its own.
class DialogController {
public:
    DialogController(DialogWindow& window, const DialogServices& services);

    // What the dialog does, in the order the commands run them.
    void InitMainDialog(DecagonRecord* record);
    void RunCompute();
    int ReadInputs(DecagonRecord* record);
    void ShowResults(const DecagonRecord* record);
    void StoreVertexColor(int controlId, ControlEvent event);
    void SaveSettingsOnExit();
    void OpenLink(int controlId, int linkIndex, const std::string& url, ControlEvent event);

    // The figure options as the image commands render them: the circle
    // options and the diagonal choice as the window shows them now, the
    // colours as the record holds them.
    FigureOptions ShownFigureOptions() const;

    // A command from a control, as its id and what happened to it.
    void DispatchCommand(int controlId, ControlEvent event);
    // A key that no control took: Enter runs the command of the push button
    // that has the focus (focusedControlId), else "Compute", the default
    // button; Escape runs "Exit".
    void DispatchKey(DialogKey key, int focusedControlId);
    // The close box in the caption: "Exit".
    void DispatchClose();

    // The record attached by InitMainDialog; null before.
    DecagonRecord* AttachedRecord() const { return record_; }

private:
    DialogWindow& window_;
    DialogServices services_;
    DecagonRecord* record_ = nullptr;
};

// Paints the record's figure and presents its 250 x 250 preview box on the
// window, 260 pixels left of the client area's right edge and 100 pixels
// below its top. When the height gives no canvas the window is handed
// nothing and keeps what it shows. A null record does nothing.
void DrawPreview(DialogWindow& window, const DecagonRecord* record);
