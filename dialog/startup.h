#pragma once

#include "export/imagelayer.h"
#include "export/prompts.h"
#include "model/record.h"

#include <functional>
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

// Runs a front end's main dialog over the record and the library's layer.
using MainDialogRunner = std::function<void(DecagonRecord* record, ImageLibrary& images)>;

// Start-up and shutdown, the same for every front end: finds the settings
// file from the executable's path, starts the image library with plug-ins in
// the program's folder (if it cannot start, the only thing shown is the error
// box "Cannot initialize GFL SDK"), turns LZW on, runs the dialog with the
// program's one record (zero at start, the same on every run) and stops the
// library. Returns the exit status: 0 on every path.
int RunProgramSequence(const std::string& executablePath, ImageLibrary& images, UserPrompts& prompts,
                       const MainDialogRunner& runDialog);
