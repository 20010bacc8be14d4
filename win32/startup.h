#pragma once

#include "export/imagelayer.h"
#include "export/prompts.h"

#include <windows.h>

#include <string>

// What start-up needs of the platform's image library: where its plug-ins
// lie, a start that can fail, LZW compression, a stop, and the layer the
// image commands use.
class ImageLibrary {
public:
    virtual ~ImageLibrary() = default;
    virtual void SetPluginFolder(const std::string& folder) = 0;
    virtual bool Start() = 0;
    virtual void EnableLzwCompression(bool enabled) = 0;
    virtual void Stop() = 0;
    virtual ImageLayer* Layer() = 0;
};

// The program's instance handle, kept by start-up for the dialog box call
// and the save dialogs.
extern HINSTANCE ProgramInstance;

// How the main dialog is run; the program runs it modally, tests answer for
// it.
using DialogRunner = void (*)(HINSTANCE instance, DecagonRecord* record, ImageLibrary& images, void* context);

// Start-up and shutdown: keeps the instance handle, lets the system's
// critical-error boxes go, finds the settings file beside the executable,
// starts the image library (if it cannot start, the only thing shown is the
// error box "Cannot initialize GFL SDK"), registers the common controls,
// runs the main dialog with the program's one record until it ends and
// stops the image library. Returns the process's exit status: 0 on every
// path. Errors go to prompts (the system's error box when null).
int RunProgram(HINSTANCE instance, ImageLibrary& images, UserPrompts* prompts = nullptr,
               DialogRunner runDialog = nullptr, void* context = nullptr);
