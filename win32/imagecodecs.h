#pragma once

// The Windows layer's JPEG writer is the core's (export/jpegwriter.h): the
// stb writer compiled into the program.
#include "export/jpegwriter.h"
