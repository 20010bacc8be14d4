#pragma once

#include "render/canvas.h"

#include <windows.h>

// Shows a core canvas on a drawing surface as a device-independent bitmap:
// 32 bits per pixel, top row first, the canvas's own bytes (its 0xFFRRGGBB
// words are the blue, green, red, unused bytes such a bitmap holds). The
// whole canvas is copied 1:1 with its top-left corner at (x, y). Returns
// false when nothing was copied.
bool BlitCanvas(HDC target, int x, int y, const Canvas& canvas);
