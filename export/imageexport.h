#pragma once

#include "export/imagelayer.h"
#include "export/prompts.h"
#include "model/record.h"
#include "render/figureoptions.h"

#include <string>

// The save dialog's type list for images.
extern const FileFilter ImageFileFilters[3];

// The save parameters of the image export: the layer's defaults, then
// replacing allowed, the format, quality 95, baseline JPEG and the write
// through a temporary file.
ImageSaveParams ExportSaveParams(ImageLayer& layer, std::int32_t formatIndex);

// The "Generate JPEG image" command: asks for a name and saves the figure as
// JPEG at quality 95, or in the format that the name's extension names. An
// existing file is replaced without a question, but only once the new one is
// complete. The figure is rendered with `shown` (RenderFigureBitmap), which
// also leaves its circle options and diagonal choice in the record. Returns 1
// after the file was saved and confirmed, else 0; 0 at once for a null record.
int ExportImageFile(DecagonRecord* record, const FigureOptions& shown, UserPrompts& prompts, ImageLayer& layer);

// The same command from the point where the save dialog has given a path:
// the same format rules, rendering and messages, for callers that know the
// path already (the command line). Returns 0 without a message for a null
// record or an empty path.
int ExportImageFileTo(DecagonRecord* record, const FigureOptions& shown, std::string path, UserPrompts& prompts,
                      ImageLayer& layer);

// The "Copy the image into the clipboard" command, rendering as
// ExportImageFile does. Returns 1 after the image was placed on the clipboard
// and confirmed, else 0.
int CopyImageToClipboard(DecagonRecord* record, const FigureOptions& shown, UserPrompts& prompts, ImageLayer& layer);
