#pragma once

#include "export/bmpencoder.h"

#include <string>
#include <vector>

#include <windows.h>

// The system's imaging component (WIC) for the image formats that the program
// does not write itself (TIFF, GIF, ...), and for PNG.

// One name under which an encoder is known: each file extension it lists,
// lower-cased, without the full stop ("tiff", "tif").
struct WicFormat {
    std::string name;
    GUID container;
};

// Starts the component on this thread. False when it is not there.
bool StartWic();
void StopWic();

// Every encoder's names, in the system's order; empty before StartWic.
std::vector<WicFormat> WicEncoderFormats();

// Encodes the pixels into the container format at 96 dots per inch: pixels
// exactly where the format holds 24-bit colour, else as the encoder converts
// them. TIFF uses LZW compression when lzw is set.
bool WriteWic(const PixelRows& pixels, const GUID& container, bool lzw, ByteSink& sink);
