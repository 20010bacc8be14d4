#pragma once

#include "export/imagelayer.h"
#include "export/prompts.h"
#include "render/dialogview.h"

// The save dialog's type list for images.
extern const FileFilter ImageFileFilters[3];

// Readies the image layer as the program uses it: plug-ins looked for in
// pluginFolder too, the layer started, and, once it has started, TIFF files
// with LZW compression. Returns the layer's start result. The dialog and the
// command line both start through here, so their files stay alike.
ImageError StartImageExport(const std::string& pluginFolder);

// The save parameters of the image export: the layer's defaults, then
// replacing allowed, the format, quality 95, baseline JPEG and the write
// through a temporary file.
ImageSaveParams ExportSaveParams(std::int32_t formatIndex);

// The "Generate JPEG image" command: asks for a name and saves the figure as
// JPEG at quality 95, or in the format that the name's extension names. An
// existing file is replaced without a question, but only once the new one is
// complete. Returns 1 after the file was saved and confirmed, else 0.
int ExportImageFile(DialogView& dialog, UserPrompts& prompts);

// The same command from the point where the save dialog has given a path:
// the same format rules, rendering and messages, for callers that know the
// path already (the command line). Returns 0 without a message for a null
// record or an empty path.
int ExportImageFileTo(DialogView& dialog, std::string path, UserPrompts& prompts);

// The "Copy the image into the clipboard" command. Returns 1 after the image
// was placed on the clipboard and confirmed, else 0.
int CopyImageToClipboard(DialogView& dialog, UserPrompts& prompts, ImageClipboard& clipboard);
