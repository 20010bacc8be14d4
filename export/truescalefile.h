#pragma once

#include "export/prompts.h"
#include "model/record.h"
#include "render/pdf.h"
#include "render/truescale.h"

#include <string>

// The true-scale drawings as files: the printable PDF (render/pdf.h) and the
// DXF (render/dxf.h) of the record's figure, written like the SVG
// (export/svgfile.h): through a temporary file renamed into place, with the
// image export's messages: "Cannot create the image" when there is nothing
// to draw (for the PDF also a figure below one unit or one that needs more
// than kMostPdfPages pages), "Cannot save the file %s" when the file cannot
// be written, "The file %s has been successfully saved" on success. Nothing
// is written before the whole file is made. Each returns 1 after the file
// was written and confirmed, else 0 (also, without a message, for an empty
// path).

// The PDF options that the system's settings give: its paper (SystemPaper),
// a margin and an overlap of 10 mm, one millimetre to the unit.
PdfOptions SystemPdfOptions();

// The record's figure (PlanExactFigure) as PDF bytes or DXF text. Return 0,
// leaving the output empty, when there is nothing to draw.
int DecagonPdfBytes(const DecagonRecord& record, const PdfOptions& options, std::string& pdf);
int DecagonDxfText(const DecagonRecord& record, LengthUnit unit, std::string& dxf);

int ExportPdfFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts,
                    const PdfOptions& options);
int ExportDxfFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts,
                    LengthUnit unit = LengthUnit::Millimetre);

// The last steps the drawings share: "Cannot create the image" when made is
// 0, else the bytes written to path and the outcome reported.
int SaveDrawingFile(int made, const std::string& bytes, const std::string& path, UserPrompts& prompts);
