#pragma once

#include "export/prompts.h"
#include "model/record.h"

#include <string>

// The delimited text file: a header of 31 quoted names and one line of 31
// numbers, cells separated by ";" except a "," after "Center Y", line feeds
// only, every number as printf's "%f" in the "C" locale.

// The header line, always the same 280 bytes.
std::string TextFileHeader();

// The data line with its two closing line feeds. It is never cut, however
// long the numbers are.
std::string TextFileDataLine(const DecagonRecord& record);

// The save dialog's type list for the text file.
extern const FileFilter TextFileFilters[3];

// The "Generate a CSV file" command: asks for a name and writes the record as
// last computed. A file that already exists is replaced without a question,
// but only once the new one is completely written. Returns 1 after the file
// was written and confirmed, else 0.
int ExportTextFile(const DecagonRecord* record, UserPrompts& prompts);

// The same command from the point where the save dialog has given a path:
// the same bytes, replacement and messages, for callers that know the path
// already (the command line). Returns 0 without a message for an empty path.
int ExportTextFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts);
