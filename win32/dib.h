#pragma once

#include "render/canvas.h"

#include <windows.h>

// Shows a core canvas on a drawing surface as a device-independent bitmap:
// 32 bits per pixel, top row first, the canvas's own bytes (its 0xFFRRGGBB
// words are the blue, green, red, unused bytes such a bitmap holds). The
// whole canvas is copied 1:1 with its top-left corner at (x, y). Returns
// false when nothing was copied.
bool BlitCanvas(HDC target, int x, int y, const Canvas& canvas);

// The same onto the rectangle area of the surface, each canvas pixel
// becoming a block of the surface's pixels (the nearest canvas pixel, never
// a blend): a canvas laid out in pixels of 96 dpi, shown at a higher scale.
bool StretchCanvas(HDC target, const RECT& area, const Canvas& canvas);
