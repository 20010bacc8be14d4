#pragma once

#include "export/prompts.h"
#include "model/record.h"
#include "render/truescale.h"

#include <string>

// Writes the record's figure as an SVG drawing at true scale (render/svg.h)
// to path, for any finite height, through a temporary file renamed into place
// so that a failure leaves an existing file as it was. The messages are those
// of the image export: "Cannot create the image" when there is nothing to
// draw, "Cannot save the file %s" when the file cannot be written, and "The
// file %s has been successfully saved" on success, each with only the file's
// own name. Returns 1 after the file was written and confirmed, else 0 (also,
// without a message, for an empty path). One unit of the height is one unit
// of `unit` on paper.
int ExportSvgFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts,
                    LengthUnit unit = LengthUnit::Millimetre);
