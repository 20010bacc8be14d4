#pragma once

// The Windows layer's JPEG writer is the core's (export/jpegwriter.h): the
// baseline encoder compiled into the program.
#include "export/jpegwriter.h"
