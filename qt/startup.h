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

// Start-up and shutdown, run inside a QApplication: finds the settings file
// beside the executable, starts the image layer (if it cannot start, the
// only thing shown is the error box "Cannot initialize GFL SDK"), runs the
// main dialog modally with the program's one record until it ends, and
// stops the image layer. Returns the process's exit status, which is 0 on
// every path.
int RunProgram(const std::string& executablePath, const ProgramServices& services);
