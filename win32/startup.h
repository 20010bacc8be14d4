#pragma once

#include "dialog/startup.h"

#include <windows.h>

// The program's instance handle, kept by start-up for the dialog box call
// and the save dialogs.
extern HINSTANCE ProgramInstance;

// How the main dialog is run; the program runs it modally, tests answer for
// it.
using DialogRunner = void (*)(HINSTANCE instance, DecagonRecord* record, ImageLibrary& images, void* context);

// Start-up and shutdown: keeps the instance handle, lets the system's
// critical-error boxes go, then the common start-up (dialog/startup.h) with
// the settings file found from the executable's path, the common controls
// registered before the main dialog runs. Errors go to prompts (the system's
// error box when null).
int RunProgram(HINSTANCE instance, ImageLibrary& images, UserPrompts* prompts = nullptr,
               DialogRunner runDialog = nullptr, void* context = nullptr);
