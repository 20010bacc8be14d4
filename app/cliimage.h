#pragma once

#include "export/prompts.h"
#include "model/record.h"

#include <string>

// The image output of the command line: the dialog's image export from the
// point where its save dialog has given a path (ExportImageFileTo), with the
// circle options and the diagonal choice taken from the record, which holds
// those of the command line. Returns 1 on success, else 0 after the export's
// message. Needs no display: only Qt's core application object is made, and
// only while the image is written.
int CliExportImage(DecagonRecord& record, const std::string& path, UserPrompts& prompts);
