#pragma once

#include "render/figure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

// Which pixels the figure's elements set, as arithmetic on pixel indices,
// without any raster. The canvas painter (render/canvas.cpp) paints its
// ellipses by these rules; code that needs the colour of a few pixels
// without painting them all asks them directly.

// Products of two coordinate ranges (each up to 2^32) need more than 64 bits.
__extension__ typedef __int128 WideInt;

// The dotted pen: kDotLength pixels of the pen's colour, then as many white.
constexpr std::int64_t kDotLength = 3;

inline std::int64_t FloorMod(std::int64_t value, std::int64_t modulus)
{
    const std::int64_t rest = value % modulus;
    return rest < 0 ? rest + modulus : rest;
}

// The ellipse as pixel spans. Pixel (x, y) belongs to the ellipse when its
// centre lies inside the ellipse that touches the box's four edges. In
// half-pixel units relative to the box's centre the pixel centre is
// u = 2x + 1 - left - right, v = 2y + 1 - top - bottom, and the test is
// (u / w)^2 + (v / h)^2 <= 1 for the box's width w and height h. Every row's
// span is symmetric about the centre, and the rows about the middle row.
class EllipseSpans {
public:
    explicit EllipseSpans(PixelRect box)
        : left_(box.left), top_(box.top), right_(box.right), bottom_(box.bottom), w_(right_ - left_), h_(bottom_ - top_)
    {
    }

    bool Empty() const { return w_ <= 0 || h_ <= 0; }

    // The span of row y as the first and last column; false when the row
    // has no pixel of the ellipse.
    bool Span(std::int64_t y, std::int64_t& first, std::int64_t& last) const
    {
        if (y < top_ || y >= bottom_)
            return false;
        const std::int64_t v = 2 * y + 1 - top_ - bottom_;
        const double room = static_cast<double>(h_ - v) * static_cast<double>(h_ + v);
        const double reach = static_cast<double>(w_) * std::sqrt(room) / static_cast<double>(h_);
        auto u = static_cast<std::int64_t>(std::min(std::floor(reach), static_cast<double>(w_)));
        // u takes the parity of w - 1: whole columns lie there.
        if (FloorMod(u, 2) != FloorMod(w_ - 1, 2))
            --u;
        if (u < 0)
            return false;
        first = (left_ + right_ - 1 - u) / 2;
        last = (left_ + right_ - 1 + u) / 2;
        return true;
    }

    // The columns of row y that are inside the outline, as the first and
    // last: a pixel is on the outline when a pixel beside it, above or below
    // lies outside the ellipse. An empty range (last < first) when the whole
    // span is outline. Only for a row that has a span.
    void Inner(std::int64_t y, std::int64_t first, std::int64_t last, std::int64_t& innerFirst,
               std::int64_t& innerLast) const
    {
        innerFirst = first + 1;
        innerLast = last - 1;
        std::int64_t aboveFirst = 0, aboveLast = -1, belowFirst = 0, belowLast = -1;
        if (Span(y - 1, aboveFirst, aboveLast) && Span(y + 1, belowFirst, belowLast)) {
            innerFirst = std::max({innerFirst, aboveFirst, belowFirst});
            innerLast = std::min({innerLast, aboveLast, belowLast});
        } else {
            innerLast = innerFirst - 1;
        }
    }

    // Whether the outline is near horizontal at pixel (x, y): then the curve
    // advances one column per pixel, elsewhere one row per pixel.
    bool Shallow(std::int64_t x, std::int64_t y) const
    {
        const double u = std::fabs(static_cast<double>(2 * x + 1 - left_ - right_));
        const double v = std::fabs(static_cast<double>(2 * y + 1 - top_ - bottom_));
        const double w = static_cast<double>(w_);
        const double h = static_cast<double>(h_);
        return v * w * w >= u * h * h;
    }

    // Whether a dotted outline shows its pen colour at (x, y) rather than
    // white: the dots count along the columns where the curve is shallow,
    // along the rows elsewhere.
    bool DotAt(std::int64_t x, std::int64_t y) const
    {
        const std::int64_t along = Shallow(x, y) ? x - left_ : y - top_;
        return FloorMod(along, 2 * kDotLength) < kDotLength;
    }

    std::int64_t Top() const { return top_; }
    std::int64_t Bottom() const { return bottom_; }

private:
    std::int64_t left_, top_, right_, bottom_, w_, h_;
};

// A segment with a 1-pixel pen: one pixel per step along the major axis,
// steps 0 to major - 1 (the end pixel is not set). After i steps the minor
// offset is i * minor / major rounded half up, so the last step would land on
// the end point.
class SegmentSteps {
public:
    SegmentSteps(PixelPoint from, PixelPoint to)
    {
        const std::int64_t dx = std::int64_t{to.x} - from.x;
        const std::int64_t dy = std::int64_t{to.y} - from.y;
        xMajor_ = std::llabs(dx) >= std::llabs(dy);
        major_ = xMajor_ ? std::llabs(dx) : std::llabs(dy);
        minor_ = xMajor_ ? std::llabs(dy) : std::llabs(dx);
        majorStart_ = xMajor_ ? from.x : from.y;
        minorStart_ = xMajor_ ? from.y : from.x;
        majorStep_ = (xMajor_ ? dx : dy) < 0 ? -1 : 1;
        minorStep_ = (xMajor_ ? dy : dx) < 0 ? -1 : 1;
    }

    bool Empty() const { return major_ == 0; }
    // True when the segment steps along columns (one pixel per column).
    bool XMajor() const { return xMajor_; }

    // The step at a coordinate of the major axis; steps 0 to major - 1 set a
    // pixel.
    std::int64_t StepAt(std::int64_t majorCoordinate) const { return (majorCoordinate - majorStart_) * majorStep_; }
    // +1 when the major coordinate grows with the steps, else -1.
    std::int64_t MajorDirection() const { return majorStep_; }
    // +1 when the minor coordinate grows with the steps (or stays), else -1.
    std::int64_t MinorDirection() const { return minorStep_; }

    // The first and last coordinate of the major axis that the segment sets
    // a pixel on.
    std::int64_t MajorLow() const { return majorStep_ > 0 ? majorStart_ : majorStart_ - (major_ - 1); }
    std::int64_t MajorHigh() const { return majorStep_ > 0 ? majorStart_ + (major_ - 1) : majorStart_; }

private:
    friend class SegmentCursor;

    bool xMajor_ = true;
    std::int64_t major_ = 0, minor_ = 0, majorStart_ = 0, minorStart_ = 0, majorStep_ = 1, minorStep_ = 1;
};

// The minor coordinate of a segment at a step that only moves forward: after
// the first step, moving on costs no division unless the jump length changes,
// so visiting a few hundred steps of a long segment stays cheap.
class SegmentCursor {
public:
    // At `step`, which must be 0 or more.
    SegmentCursor(const SegmentSteps& segment, std::int64_t step) : segment_(segment)
    {
        const WideInt numerator = WideInt{2} * segment.minor_ * step + segment.major_;
        const WideInt twiceMajor = WideInt{2} * segment.major_;
        offset_ = static_cast<std::int64_t>(numerator / twiceMajor);
        rest_ = static_cast<std::int64_t>(numerator % twiceMajor);
    }

    std::int64_t Minor() const { return segment_.minorStart_ + segment_.minorStep_ * offset_; }

    // Moves `steps` (0 or more) steps on.
    void Advance(std::int64_t steps)
    {
        if (steps != jump_) {
            const WideInt rise = WideInt{2} * segment_.minor_ * steps;
            const WideInt twiceMajor = WideInt{2} * segment_.major_;
            jump_ = steps;
            jumpOffset_ = static_cast<std::int64_t>(rise / twiceMajor);
            jumpRest_ = static_cast<std::int64_t>(rise % twiceMajor);
        }
        offset_ += jumpOffset_;
        rest_ += jumpRest_;
        if (rest_ >= 2 * segment_.major_) {
            rest_ -= 2 * segment_.major_;
            ++offset_;
        }
    }

private:
    const SegmentSteps& segment_;
    std::int64_t offset_ = 0;
    std::int64_t rest_ = 0;
    std::int64_t jump_ = -1;
    std::int64_t jumpOffset_ = 0;
    std::int64_t jumpRest_ = 0;
};
