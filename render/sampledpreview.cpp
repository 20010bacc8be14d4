#include "render/sampledpreview.h"

#include "render/rasterrules.h"

#include <algorithm>
#include <vector>

namespace {

constexpr Pixel kWhitePixel = PixelOf(kWhite);

// One axis of the scaled copy: the canvas indices that the box samples along
// it, each once and in increasing order, and for every box index of the
// scaled area the position of its sample.
class SampleAxis {
public:
    // Box index j of a scaled area of `scaled` pixels shows canvas index
    // (2j + 1) * side / (2 * scaled), rounded down: the pixel under its
    // centre. Only box indices below `visible` are kept.
    SampleAxis(std::int64_t side, std::int64_t scaled, std::int64_t visible) : side_(side), scaled_(scaled)
    {
        boxToSample_.reserve(static_cast<std::size_t>(visible));
        for (std::int64_t j = 0; j < visible; ++j) {
            const std::int64_t index = CanvasIndexOf(j);
            if (samples_.empty() || samples_.back() != index)
                samples_.push_back(index);
            boxToSample_.push_back(static_cast<std::int32_t>(samples_.size() - 1));
        }
    }

    std::size_t Count() const { return samples_.size(); }
    std::int64_t At(std::size_t sample) const { return samples_[sample]; }
    std::int32_t SampleOfBox(std::int64_t boxIndex) const { return boxToSample_[static_cast<std::size_t>(boxIndex)]; }
    // Whether every box index shows a canvas index of its own.
    bool OneToOne() const { return samples_.size() == boxToSample_.size(); }

    // The first sample at or after canvas index `index`.
    std::size_t FirstFrom(std::int64_t index) const
    {
        return static_cast<std::size_t>(std::lower_bound(samples_.begin(), samples_.end(), index) - samples_.begin());
    }

private:
    std::int64_t CanvasIndexOf(std::int64_t j) const
    {
        return static_cast<std::int64_t>((WideInt{2} * j + 1) * side_ / (WideInt{2} * scaled_));
    }

    std::int64_t side_;
    std::int64_t scaled_;
    std::vector<std::int64_t> samples_;
    std::vector<std::int32_t> boxToSample_;
};

// The colours of the sampled canvas pixels, columns x rows, on a canvas of
// at least that size, all white to begin with.
class SampleGrid {
public:
    SampleGrid(const SampleAxis& columns, const SampleAxis& rows, const Canvas& cells)
        : columns_(columns), rows_(rows), cells_(cells)
    {
    }

    void Fill(PixelRect rect, Pixel pixel) const
    {
        const std::size_t rowEnd = rows_.FirstFrom(rect.bottom);
        for (std::size_t row = rows_.FirstFrom(rect.top); row < rowEnd; ++row)
            FillColumns(row, rect.left, rect.right, pixel);
    }

    void Ellipse(PixelRect box, PenStyle penStyle, Pixel pen, Pixel inside) const
    {
        const EllipseSpans ellipse(box);
        if (ellipse.Empty())
            return;
        const bool dotted = penStyle == PenStyle::Dotted;
        for (std::size_t row = rows_.FirstFrom(ellipse.Top()); row < rows_.Count(); ++row) {
            const std::int64_t y = rows_.At(row);
            if (y >= ellipse.Bottom())
                break;
            std::int64_t first = 0, last = -1, innerFirst = 0, innerLast = -1;
            if (!ellipse.Span(y, first, last))
                continue;
            ellipse.Inner(y, first, last, innerFirst, innerLast);
            if (innerFirst > innerLast) { // all outline
                innerFirst = last + 1;
                innerLast = last;
            }
            auto outline = [&](std::int64_t from, std::int64_t to) {
                const std::size_t end = columns_.FirstFrom(to);
                for (std::size_t column = columns_.FirstFrom(from); column < end; ++column)
                    Set(column, row, !dotted || ellipse.DotAt(columns_.At(column), y) ? pen : kWhitePixel);
            };
            outline(first, innerFirst);
            FillColumns(row, innerFirst, innerLast + 1, inside);
            outline(innerLast + 1, last + 1);
        }
    }

    // A segment sets one pixel per index of its major axis, so only the
    // sampled indices of that axis need looking at. They are visited in the
    // order of the segment's steps, along which the minor coordinate only
    // grows or only shrinks, so the minor samples are walked alongside.
    void Segment(PixelPoint from, PixelPoint to, Pixel pixel) const
    {
        const SegmentSteps segment(from, to);
        if (segment.Empty())
            return;
        const SampleAxis& major = segment.XMajor() ? columns_ : rows_;
        const SampleAxis& minor = segment.XMajor() ? rows_ : columns_;
        const auto begin = static_cast<std::int64_t>(major.FirstFrom(segment.MajorLow()));
        const auto end = static_cast<std::int64_t>(major.FirstFrom(segment.MajorHigh() + 1));
        if (begin >= end)
            return;
        const bool forward = segment.MajorDirection() > 0;
        const bool rising = segment.MinorDirection() > 0;
        std::int64_t along = forward ? begin : end - 1;
        SegmentCursor cursor(segment, segment.StepAt(major.At(static_cast<std::size_t>(along))));
        // The minor sample at or past the cursor's coordinate in its direction:
        // the first at or above it when rising, the last at or below it else.
        const auto minorCount = static_cast<std::int64_t>(minor.Count());
        std::int64_t across =
            static_cast<std::int64_t>(minor.FirstFrom(cursor.Minor() + (rising ? 0 : 1))) - (rising ? 0 : 1);
        for (std::int64_t visited = begin; visited < end; ++visited) {
            const std::int64_t coordinate = cursor.Minor();
            if (rising) {
                while (across < minorCount && minor.At(static_cast<std::size_t>(across)) < coordinate)
                    ++across;
            } else {
                while (across >= 0 && minor.At(static_cast<std::size_t>(across)) > coordinate)
                    --across;
            }
            if (across >= 0 && across < minorCount && minor.At(static_cast<std::size_t>(across)) == coordinate) {
                if (segment.XMajor())
                    Set(static_cast<std::size_t>(along), static_cast<std::size_t>(across), pixel);
                else
                    Set(static_cast<std::size_t>(across), static_cast<std::size_t>(along), pixel);
            }
            if (visited + 1 == end)
                break;
            const std::int64_t next = forward ? along + 1 : along - 1;
            const std::int64_t gap =
                major.At(static_cast<std::size_t>(next)) - major.At(static_cast<std::size_t>(along));
            cursor.Advance(forward ? gap : -gap);
            along = next;
        }
    }

private:
    Pixel* Row(std::size_t row) const { return cells_.Row(static_cast<std::int64_t>(row)); }
    void Set(std::size_t column, std::size_t row, Pixel pixel) const { Row(row)[column] = pixel; }

    // The sampled columns of canvas columns [from, to) of one row.
    void FillColumns(std::size_t row, std::int64_t from, std::int64_t to, Pixel pixel) const
    {
        const std::size_t first = columns_.FirstFrom(from);
        const std::size_t end = columns_.FirstFrom(to);
        if (first < end)
            std::fill(Row(row) + first, Row(row) + end, pixel);
    }

    const SampleAxis& columns_;
    const SampleAxis& rows_;
    const Canvas& cells_;
};

} // namespace

void SamplePreview(const FigurePlan& plan, Canvas& box)
{
    if (!HasPixels(box))
        return;
    const std::int32_t boxWidth = box.width, boxHeight = box.height;
    FillRect(box, {0, 0, boxWidth, boxHeight}, kWhite);
    if (plan.side <= 0)
        return;
    const auto side = static_cast<std::uint32_t>(plan.side);
    const FittedSize fitted =
        FitIntoBox(side, side, static_cast<std::uint32_t>(boxWidth), static_cast<std::uint32_t>(boxHeight));
    // The copy targets (0, 0, width, height) as signed coordinates, clipped
    // to the box.
    const std::int64_t scaledWidth = static_cast<std::int32_t>(fitted.width);
    const std::int64_t scaledHeight = static_cast<std::int32_t>(fitted.height);
    if (scaledWidth <= 0 || scaledHeight <= 0)
        return;
    const SampleAxis columns(plan.side, scaledWidth, std::min<std::int64_t>(scaledWidth, boxWidth));
    const SampleAxis rows(plan.side, scaledHeight, std::min<std::int64_t>(scaledHeight, boxHeight));

    // When every box pixel shows a canvas pixel of its own (a side of at
    // least the box's), the grid is the box itself; else the grid holds each
    // sampled pixel once and is spread over the box afterwards.
    const bool direct = columns.OneToOne() && rows.OneToOne();
    Canvas cells = box;
    if (!direct) {
        const auto gridWidth = static_cast<std::int32_t>(columns.Count());
        const auto gridHeight = static_cast<std::int32_t>(rows.Count());
        if (!MakeCanvas(gridWidth, gridHeight, cells))
            return;
        FillRect(cells, {0, 0, gridWidth, gridHeight}, kWhite);
    }
    const SampleGrid grid(columns, rows, cells);
    for (const FigureElement& element : plan.elements) {
        switch (element.kind) {
        case FigureElementKind::Fill:
            grid.Fill(element.box, PixelOf(element.color));
            break;
        case FigureElementKind::Ellipse:
            grid.Ellipse(element.box, element.penStyle, PixelOf(element.color), PixelOf(element.interior));
            break;
        case FigureElementKind::Segment:
            grid.Segment(element.from, element.to, PixelOf(element.color));
            break;
        }
    }
    if (direct)
        return;

    const std::int64_t visibleWidth = std::min<std::int64_t>(scaledWidth, boxWidth);
    const std::int64_t visibleHeight = std::min<std::int64_t>(scaledHeight, boxHeight);
    for (std::int64_t y = 0; y < visibleHeight; ++y) {
        Pixel* row = box.Row(y);
        const Pixel* colours = cells.Row(rows.SampleOfBox(y));
        for (std::int64_t x = 0; x < visibleWidth; ++x)
            row[x] = colours[columns.SampleOfBox(x)];
    }
}
