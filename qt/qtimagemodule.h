#pragma once

#include "export/imagelayer.h"

// Qt's image writers as a module of their own, which the command line loads
// (dlopen) only when a format that only Qt writes is asked for, so that a
// run writing text, SVG, JPEG or BMP never loads Qt. The module's one entry
// point, kQtImageModuleEntry, has the type QtImageModuleEntry: it makes the
// Qt application object that the writers need (none may exist yet), readies
// the layer as the dialog does (image plug-ins looked for in pluginFolder
// too), and returns the encoders, without a clipboard. Deleting them ends
// the application object. Null when Qt's application object exists already.
// The header itself includes nothing of Qt.

using QtImageModuleEntry = PixelEncoders* (*)(const char* pluginFolder);
constexpr char kQtImageModuleEntry[] = "DecagonQtImageEncoders";
