#include "export/tiffencoder.h"

#include "export/byteorder.h"
#include "export/indexedpixels.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

// Rows are compressed in strips of about this many bytes, each its own
// zlib stream, so that a reader need not hold the whole image.
constexpr std::size_t kStripBytes = std::size_t{1} << 20;
// zlib counts its input in unsigned int.
constexpr std::size_t kLargestRow = std::size_t{1} << 30;
constexpr std::uint64_t kLargestFile = std::numeric_limits<std::uint32_t>::max();

enum FieldType : std::uint16_t { kShort = 3, kLong = 4, kRational = 5 };

struct Field {
    std::uint16_t tag;
    FieldType type;
    std::uint32_t count;
    std::uint32_t value; // the value itself when it fits in 4 bytes, else where it lies
};

// Appends a number in the file's byte order (little-endian).
void Put16(std::string& out, std::uint32_t value)
{
    unsigned char bytes[2];
    PutLe16(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

void Put32(std::string& out, std::uint32_t value)
{
    unsigned char bytes[4];
    PutLe32(bytes, value);
    out.append(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

// Appends a value that does not fit in its field, on a word boundary, and
// returns where it lies.
std::uint32_t PutAside(std::string& out, const std::vector<std::uint32_t>& values, FieldType type)
{
    if (out.size() % 2 != 0)
        out += '\0';
    const auto at = static_cast<std::uint32_t>(out.size());
    for (const std::uint32_t value : values)
        type == kShort ? Put16(out, value) : Put32(out, value);
    return at;
}

// A field of count values of a type: inline when they fit in 4 bytes.
Field MakeField(std::string& out, std::uint16_t tag, FieldType type, const std::vector<std::uint32_t>& values)
{
    const auto count = static_cast<std::uint32_t>(type == kRational ? values.size() / 2 : values.size());
    if (type == kShort && count <= 2)
        return {tag, type, count, values[0] | (count == 2 ? values[1] << 16 : 0)};
    if (type == kLong && count == 1)
        return {tag, type, count, values[0]};
    return {tag, type, count, PutAside(out, values, type == kShort ? kShort : kLong)};
}

// Appends the strip's bytes as one zlib stream.
bool DeflateStrip(const unsigned char* data, std::size_t size, int level, int strategy, std::string& out)
{
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, 15, 9, strategy) != Z_OK)
        return false;
    const std::size_t start = out.size();
    const uLong bound = deflateBound(&stream, static_cast<uLong>(size));
    out.resize(start + bound);
    stream.next_in = const_cast<Bytef*>(data);
    stream.avail_in = static_cast<uInt>(size);
    stream.next_out = reinterpret_cast<Bytef*>(out.data() + start);
    stream.avail_out = static_cast<uInt>(bound);
    const int result = deflate(&stream, Z_FINISH);
    out.resize(start + (bound - stream.avail_out));
    deflateEnd(&stream);
    return result == Z_STREAM_END;
}

// Each byte less the same channel's byte of the pixel to its left.
void DifferenceHorizontally(unsigned char* row, std::size_t size)
{
    for (std::size_t i = size; i-- > 3;)
        row[i] = static_cast<unsigned char>(row[i] - row[i - 3]);
}

} // namespace

int EncodeTiff(const std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::ptrdiff_t strideBytes,
               const TiffSettings& settings, std::string& bytes)
{
    bytes.clear();
    if (pixels == nullptr || width <= 0 || height <= 0 || strideBytes < std::ptrdiff_t{width} * 4)
        return 0;
    Palette palette;
    const bool indexed = CollectColours(pixels, width, height, strideBytes, palette);
    const int depth = indexed && palette.Colours().size() <= 16 ? 4 : 8;
    const std::size_t rowBytes = indexed ? (static_cast<std::size_t>(width) * static_cast<std::size_t>(depth) + 7) / 8
                                         : static_cast<std::size_t>(width) * 3;
    if (rowBytes > kLargestRow)
        return 0;
    const auto rowsPerStrip =
        static_cast<std::int32_t>(std::clamp<std::size_t>(kStripBytes / rowBytes, 1, static_cast<std::size_t>(height)));
    const int level = std::clamp(settings.compressionLevel, 0, 9);
    // Runs of one index, as in the PNG encoder, against the usual search for
    // matches in differenced RGB.
    const int strategy = indexed ? Z_RLE : Z_DEFAULT_STRATEGY;

    bytes = std::string("II*\0\0\0\0\0", 8); // little-endian, then where the directory lies
    std::vector<std::uint32_t> offsets, counts;
    std::vector<unsigned char> strip(rowBytes * static_cast<std::size_t>(rowsPerStrip));
    for (std::int32_t top = 0; top < height; top += rowsPerStrip) {
        const std::int32_t rows = std::min(rowsPerStrip, height - top);
        for (std::int32_t y = 0; y < rows; ++y) {
            unsigned char* row = strip.data() + static_cast<std::size_t>(y) * rowBytes;
            const std::uint32_t* source = RowAt(pixels, strideBytes, top + y);
            if (indexed) {
                IndexRow(source, width, palette, depth, row);
            } else {
                RgbRow(source, width, row);
                DifferenceHorizontally(row, rowBytes);
            }
        }
        const std::size_t start = bytes.size();
        if (!DeflateStrip(strip.data(), rowBytes * static_cast<std::size_t>(rows), level, strategy, bytes) ||
            bytes.size() > kLargestFile) {
            bytes.clear();
            return 0;
        }
        offsets.push_back(static_cast<std::uint32_t>(start));
        counts.push_back(static_cast<std::uint32_t>(bytes.size() - start));
    }

    const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
    const std::uint32_t samples = indexed ? 1 : 3, bits = static_cast<std::uint32_t>(depth);
    std::vector<Field> fields = {
        MakeField(bytes, 256, kLong, {w}),
        MakeField(bytes, 257, kLong, {h}),
        MakeField(bytes, 258, kShort, std::vector<std::uint32_t>(samples, bits)),
        MakeField(bytes, 259, kShort, {8}),                 // Deflate
        MakeField(bytes, 262, kShort, {indexed ? 3u : 2u}), // palette or RGB
        MakeField(bytes, 273, kLong, offsets),
        MakeField(bytes, 277, kShort, {samples}),
        MakeField(bytes, 278, kLong, {static_cast<std::uint32_t>(rowsPerStrip)}),
        MakeField(bytes, 279, kLong, counts),
    };
    if (settings.dotsPerInch > 0) {
        const auto dpi = static_cast<std::uint32_t>(settings.dotsPerInch);
        fields.push_back(MakeField(bytes, 282, kRational, {dpi, 1}));
        fields.push_back(MakeField(bytes, 283, kRational, {dpi, 1}));
    }
    fields.push_back(MakeField(bytes, 284, kShort, {1})); // samples together
    if (settings.dotsPerInch > 0)
        fields.push_back(MakeField(bytes, 296, kShort, {2})); // inch
    if (!indexed)
        fields.push_back(MakeField(bytes, 317, kShort, {2})); // horizontal differencing
    if (indexed) {
        // Every entry of a 2^depth colour map: reds, then greens, then blues,
        // in 16 bits; entries past the palette black.
        const std::size_t entries = std::size_t{1} << depth;
        std::vector<std::uint32_t> map(3 * entries, 0);
        for (std::size_t i = 0; i < palette.Colours().size(); ++i)
            for (std::size_t channel = 0; channel < 3; ++channel)
                map[channel * entries + i] = ((palette.Colours()[i] >> (16 - 8 * channel)) & 0xFF) * 257;
        fields.push_back(MakeField(bytes, 320, kShort, map));
    }

    if (bytes.size() % 2 != 0)
        bytes += '\0';
    const auto directory = static_cast<std::uint32_t>(bytes.size());
    Put16(bytes, static_cast<std::uint32_t>(fields.size()));
    for (const Field& field : fields) {
        Put16(bytes, field.tag);
        Put16(bytes, field.type);
        Put32(bytes, field.count);
        Put32(bytes, field.value);
    }
    Put32(bytes, 0); // no further image
    if (bytes.size() > kLargestFile) {
        bytes.clear();
        return 0;
    }
    for (int i = 0; i < 4; ++i)
        bytes[4 + i] = static_cast<char>((directory >> (8 * i)) & 0xFF);
    return 1;
}
