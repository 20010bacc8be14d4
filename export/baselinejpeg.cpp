#include "export/baselinejpeg.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

// The tables and the arithmetic are stb_image_write 1.16's (public domain,
// after Jon Olick's jo_jpeg), kept operation for operation in float so that
// the bytes stay the same on every system: this file is compiled without
// contracting a multiply and an add into one rounding.

namespace {

constexpr unsigned char kZigZag[64] = {0,  1,  5,  6,  14, 15, 27, 28, 2,  4,  7,  13, 16, 26, 29, 42,
                                       3,  8,  12, 17, 25, 30, 41, 43, 9,  11, 18, 24, 31, 40, 44, 53,
                                       10, 19, 23, 32, 39, 45, 52, 54, 20, 22, 33, 38, 46, 51, 55, 60,
                                       21, 34, 37, 47, 50, 56, 59, 61, 35, 36, 48, 49, 57, 58, 62, 63};

constexpr int kLumaQuant[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChromaQuant[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                  24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
constexpr float kAanScale[8] = {1.0f * 2.828427125f,         1.387039845f * 2.828427125f, 1.306562965f * 2.828427125f,
                                1.175875602f * 2.828427125f, 1.0f * 2.828427125f,         0.785694958f * 2.828427125f,
                                0.541196100f * 2.828427125f, 0.275899379f * 2.828427125f};

// The standard Huffman tables: the count of codes of each length 1 to 16,
// then the symbols in code order.
struct HuffmanSpec {
    unsigned char counts[16];
    unsigned char symbols[162];
    int symbolCount;
};
constexpr HuffmanSpec kLumaDc = {
    {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 12};
constexpr HuffmanSpec kChromaDc = {
    {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 12};
constexpr HuffmanSpec kLumaAc = {
    {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d},
    {0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
     0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72,
     0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37,
     0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
     0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
     0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3,
     0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3,
     0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2,
     0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa},
    162};
constexpr HuffmanSpec kChromaAc = {
    {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77},
    {0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13, 0x22,
     0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1,
     0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36,
     0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
     0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
     0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a,
     0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba,
     0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda,
     0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa},
    162};

struct Code {
    std::uint16_t bits = 0;
    std::uint16_t length = 0;
};

// Each symbol's code: canonical codes, counted up length by length.
struct HuffmanCodes {
    Code symbol[256];
};

HuffmanCodes MakeCodes(const HuffmanSpec& spec)
{
    HuffmanCodes codes;
    unsigned code = 0;
    int next = 0;
    for (int length = 1; length <= 16; ++length, code <<= 1)
        for (int count = 0; count < spec.counts[length - 1]; ++count, ++code)
            codes.symbol[spec.symbols[next++]] = {static_cast<std::uint16_t>(code), static_cast<std::uint16_t>(length)};
    return codes;
}

// The bytes on their way to the sink, in pieces of 64 KiB.
class ByteOut {
public:
    explicit ByteOut(ByteSink& sink) : sink_(sink), buffer_(new (std::nothrow) unsigned char[kSize]) {}
    bool Ready() const { return buffer_ != nullptr; }
    void Byte(unsigned char value)
    {
        if (used_ == kSize)
            Flush();
        buffer_[used_++] = value;
    }
    void Bytes(const unsigned char* data, std::size_t count)
    {
        for (std::size_t index = 0; index < count; ++index)
            Byte(data[index]);
    }
    bool Flush()
    {
        if (ok_ && used_ > 0)
            ok_ = sink_.Write(buffer_.get(), used_);
        used_ = 0;
        return ok_;
    }
    bool Failed() const { return !ok_; }

private:
    static constexpr std::size_t kSize = 1 << 16;
    ByteSink& sink_;
    std::unique_ptr<unsigned char[]> buffer_;
    std::size_t used_ = 0;
    bool ok_ = true;
};

// The entropy-coded bits, most significant first, a zero after each 0xFF.
struct BitWriter {
    ByteOut& out;
    std::uint32_t buffer = 0;
    int count = 0;

    void Put(Code code)
    {
        count += code.length;
        buffer |= static_cast<std::uint32_t>(code.bits) << (24 - count);
        while (count >= 8) {
            const auto byte = static_cast<unsigned char>(buffer >> 16);
            out.Byte(byte);
            if (byte == 0xFF)
                out.Byte(0);
            buffer <<= 8;
            count -= 8;
        }
    }
};

// A value's size category and its bits (one less for a negative value).
Code ValueBits(int value)
{
    int magnitude = value < 0 ? -value : value;
    const int coded = value < 0 ? value - 1 : value;
    std::uint16_t length = 1;
    while (magnitude >>= 1)
        ++length;
    return {static_cast<std::uint16_t>(coded & ((1 << length) - 1)), length};
}

void Dct(float* data, int step)
{
    float& out0 = data[0];
    float& out1 = data[step];
    float& out2 = data[2 * step];
    float& out3 = data[3 * step];
    float& out4 = data[4 * step];
    float& out5 = data[5 * step];
    float& out6 = data[6 * step];
    float& out7 = data[7 * step];
    const float tmp0 = out0 + out7;
    const float tmp7 = out0 - out7;
    const float tmp1 = out1 + out6;
    const float tmp6 = out1 - out6;
    const float tmp2 = out2 + out5;
    const float tmp5 = out2 - out5;
    const float tmp3 = out3 + out4;
    const float tmp4 = out3 - out4;

    // The even part.
    float tmp10 = tmp0 + tmp3;
    const float tmp13 = tmp0 - tmp3;
    float tmp11 = tmp1 + tmp2;
    float tmp12 = tmp1 - tmp2;
    const float d0 = tmp10 + tmp11;
    const float d4 = tmp10 - tmp11;
    const float z1 = (tmp12 + tmp13) * 0.707106781f;
    const float d2 = tmp13 + z1;
    const float d6 = tmp13 - z1;

    // The odd part.
    tmp10 = tmp4 + tmp5;
    tmp11 = tmp5 + tmp6;
    tmp12 = tmp6 + tmp7;
    const float z5 = (tmp10 - tmp12) * 0.382683433f;
    const float z2 = tmp10 * 0.541196100f + z5;
    const float z4 = tmp12 * 1.306562965f + z5;
    const float z3 = tmp11 * 0.707106781f;
    const float z11 = tmp7 + z3;
    const float z13 = tmp7 - z3;

    out5 = z13 + z2;
    out3 = z13 - z2;
    out1 = z11 + z4;
    out7 = z11 - z4;
    out0 = d0;
    out2 = d2;
    out4 = d4;
    out6 = d6;
}

// One 8x8 block of samples (rows stride apart) transformed, quantised and
// put in zigzag order.
void Transform(float* samples, int stride, const float* scale, int* coefficients)
{
    for (int row = 0; row < 8; ++row)
        Dct(samples + row * stride, 1);
    for (int column = 0; column < 8; ++column)
        Dct(samples + column, stride);
    for (int y = 0, index = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x, ++index) {
            const float value = samples[y * stride + x] * scale[index];
            coefficients[kZigZag[index]] = static_cast<int>(value < 0 ? value - 0.5f : value + 0.5f);
        }
}

struct Tables {
    unsigned char lumaQuant[64];
    unsigned char chromaQuant[64];
    float lumaScale[64];
    float chromaScale[64];
    HuffmanCodes lumaDc, lumaAc, chromaDc, chromaAc;
    bool subsampled = false;
};

void MakeTables(int quality, Tables& tables)
{
    tables.subsampled = quality <= 90;
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    for (int index = 0; index < 64; ++index) {
        const int luma = (kLumaQuant[index] * scale + 50) / 100;
        const int chroma = (kChromaQuant[index] * scale + 50) / 100;
        tables.lumaQuant[kZigZag[index]] = static_cast<unsigned char>(std::clamp(luma, 1, 255));
        tables.chromaQuant[kZigZag[index]] = static_cast<unsigned char>(std::clamp(chroma, 1, 255));
    }
    for (int row = 0, index = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column, ++index) {
            tables.lumaScale[index] = 1 / (tables.lumaQuant[kZigZag[index]] * kAanScale[row] * kAanScale[column]);
            tables.chromaScale[index] = 1 / (tables.chromaQuant[kZigZag[index]] * kAanScale[row] * kAanScale[column]);
        }
    tables.lumaDc = MakeCodes(kLumaDc);
    tables.lumaAc = MakeCodes(kLumaAc);
    tables.chromaDc = MakeCodes(kChromaDc);
    tables.chromaAc = MakeCodes(kChromaAc);
}

void WriteHuffmanSpec(ByteOut& out, unsigned char tableClassAndId, const HuffmanSpec& spec)
{
    out.Byte(tableClassAndId);
    out.Bytes(spec.counts, 16);
    out.Bytes(spec.symbols, static_cast<std::size_t>(spec.symbolCount));
}

void WriteHeaders(ByteOut& out, const Tables& tables, int width, int height)
{
    // JFIF 1.1 at 96 dots per inch, then both quantisation tables.
    const unsigned char start[] = {0xFF, 0xD8,         0xFF, 0xE0,         0, 0x10, 'J',  'F',  'I', 'F',  0, 1, 1, 1,
                                   0,    kDotsPerInch, 0,    kDotsPerInch, 0, 0,    0xFF, 0xDB, 0,   0x84, 0};
    out.Bytes(start, sizeof start);
    out.Bytes(tables.lumaQuant, 64);
    out.Byte(1);
    out.Bytes(tables.chromaQuant, 64);
    // The frame: 8 bits, the size, three components, then the Huffman tables.
    const unsigned char frame[] = {0xFF,
                                   0xC0,
                                   0,
                                   0x11,
                                   8,
                                   static_cast<unsigned char>(height >> 8),
                                   static_cast<unsigned char>(height),
                                   static_cast<unsigned char>(width >> 8),
                                   static_cast<unsigned char>(width),
                                   3,
                                   1,
                                   static_cast<unsigned char>(tables.subsampled ? 0x22 : 0x11),
                                   0,
                                   2,
                                   0x11,
                                   1,
                                   3,
                                   0x11,
                                   1,
                                   0xFF,
                                   0xC4,
                                   0x01,
                                   0xA2};
    out.Bytes(frame, sizeof frame);
    WriteHuffmanSpec(out, 0x00, kLumaDc);
    WriteHuffmanSpec(out, 0x10, kLumaAc);
    WriteHuffmanSpec(out, 0x01, kChromaDc);
    WriteHuffmanSpec(out, 0x11, kChromaAc);
    const unsigned char scan[] = {0xFF, 0xDA, 0, 0xC, 3, 1, 0, 2, 0x11, 3, 0x11, 0, 0x3F, 0};
    out.Bytes(scan, sizeof scan);
}

// The quantised blocks of one unit: one 8x8 block each of Y, Cb and Cr at
// full colour; at half colour four Y blocks of a 16x16 square, then Cb and
// Cr averaged over it.
struct Unit {
    int blocks[6][64];
};

// The samples of the side x side square at (left, top), the last row and
// column repeated past the picture's edges, transformed.
void TransformUnit(const PixelRows& pixels, int left, int top, const Tables& tables, Unit& unit)
{
    const int side = tables.subsampled ? 16 : 8;
    float luma[256];
    float blue[256];
    float red[256];
    for (int row = 0, at = 0; row < side; ++row) {
        const std::uint32_t* source = pixels.Row(std::min(top + row, pixels.height - 1));
        for (int column = 0; column < side; ++column, ++at) {
            const std::uint32_t pixel = source[std::min(left + column, pixels.width - 1)];
            const float r = static_cast<unsigned char>(pixel >> 16);
            const float g = static_cast<unsigned char>(pixel >> 8);
            const float b = static_cast<unsigned char>(pixel);
            luma[at] = +0.29900f * r + 0.58700f * g + 0.11400f * b - 128;
            blue[at] = -0.16874f * r - 0.33126f * g + 0.50000f * b;
            red[at] = +0.50000f * r - 0.41869f * g - 0.08131f * b;
        }
    }
    if (!tables.subsampled) {
        Transform(luma, 8, tables.lumaScale, unit.blocks[0]);
        Transform(blue, 8, tables.chromaScale, unit.blocks[1]);
        Transform(red, 8, tables.chromaScale, unit.blocks[2]);
        return;
    }
    Transform(luma, 16, tables.lumaScale, unit.blocks[0]);
    Transform(luma + 8, 16, tables.lumaScale, unit.blocks[1]);
    Transform(luma + 128, 16, tables.lumaScale, unit.blocks[2]);
    Transform(luma + 136, 16, tables.lumaScale, unit.blocks[3]);
    float halfBlue[64];
    float halfRed[64];
    for (int y = 0, at = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x, ++at) {
            const int corner = y * 32 + x * 2;
            halfBlue[at] = (blue[corner] + blue[corner + 1] + blue[corner + 16] + blue[corner + 17]) * 0.25f;
            halfRed[at] = (red[corner] + red[corner + 1] + red[corner + 16] + red[corner + 17]) * 0.25f;
        }
    Transform(halfBlue, 8, tables.chromaScale, unit.blocks[4]);
    Transform(halfRed, 8, tables.chromaScale, unit.blocks[5]);
}

// Whether the square at (left, top) is one colour, the repeated edges
// included (they repeat pixels inside it).
bool IsOneColour(const PixelRows& pixels, int left, int top, int side, std::uint32_t& colour)
{
    const int right = std::min(left + side, pixels.width);
    const int bottom = std::min(top + side, pixels.height);
    colour = pixels.Row(top)[left] & 0xFFFFFFu;
    std::uint32_t differs = 0;
    for (int y = top; y < bottom; ++y) {
        const std::uint32_t* row = pixels.Row(y);
        for (int x = left; x < right; ++x)
            differs |= row[x] ^ colour;
    }
    return (differs & 0xFFFFFFu) == 0;
}

// Encodes one block and returns its DC value, the next block's predictor.
int EncodeBlock(BitWriter& bits, const int* block, int previousDc, const HuffmanCodes& dc, const HuffmanCodes& ac)
{
    const int difference = block[0] - previousDc;
    if (difference == 0) {
        bits.Put(dc.symbol[0]);
    } else {
        const Code value = ValueBits(difference);
        bits.Put(dc.symbol[value.length]);
        bits.Put(value);
    }
    int last = 63;
    while (last > 0 && block[last] == 0)
        --last;
    if (last == 0) {
        bits.Put(ac.symbol[0x00]);
        return block[0];
    }
    for (int index = 1; index <= last; ++index) {
        const int start = index;
        while (block[index] == 0)
            ++index;
        int zeros = index - start;
        for (; zeros >= 16; zeros -= 16)
            bits.Put(ac.symbol[0xF0]);
        const Code value = ValueBits(block[index]);
        bits.Put(ac.symbol[(zeros << 4) + value.length]);
        bits.Put(value);
    }
    if (last != 63)
        bits.Put(ac.symbol[0x00]);
    return block[0];
}

} // namespace

bool WriteBaselineJpeg(const PixelRows& pixels, int quality, ByteSink& sink)
{
    if (!HasPixels(pixels) || pixels.width > 65535 || pixels.height > 65535)
        return false;
    ByteOut out(sink);
    auto tables = std::unique_ptr<Tables>(new (std::nothrow) Tables);
    auto units = std::unique_ptr<Unit[]>(new (std::nothrow) Unit[2]);
    if (!out.Ready() || !tables || !units)
        return false;
    MakeTables(std::clamp(quality, 1, 100), *tables);
    WriteHeaders(out, *tables, pixels.width, pixels.height);

    // A unit of one colour is transformed once and its blocks kept for the
    // next unit of that colour.
    Unit& mixed = units[0];
    Unit& plain = units[1];
    bool plainKept = false;
    std::uint32_t plainColour = 0;
    const int side = tables->subsampled ? 16 : 8;
    const int lumaBlocks = tables->subsampled ? 4 : 1;
    int lumaDc = 0;
    int blueDc = 0;
    int redDc = 0;
    BitWriter bits{out};
    for (int top = 0; top < pixels.height; top += side) {
        for (int left = 0; left < pixels.width; left += side) {
            std::uint32_t colour = 0;
            const Unit* unit = &mixed;
            if (IsOneColour(pixels, left, top, side, colour)) {
                if (!plainKept || colour != plainColour) {
                    TransformUnit(pixels, left, top, *tables, plain);
                    plainKept = true;
                    plainColour = colour;
                }
                unit = &plain;
            } else {
                TransformUnit(pixels, left, top, *tables, mixed);
            }
            for (int block = 0; block < lumaBlocks; ++block)
                lumaDc = EncodeBlock(bits, unit->blocks[block], lumaDc, tables->lumaDc, tables->lumaAc);
            blueDc = EncodeBlock(bits, unit->blocks[lumaBlocks], blueDc, tables->chromaDc, tables->chromaAc);
            redDc = EncodeBlock(bits, unit->blocks[lumaBlocks + 1], redDc, tables->chromaDc, tables->chromaAc);
        }
        if (out.Failed())
            return false;
    }
    bits.Put({0x7F, 7});
    out.Byte(0xFF);
    out.Byte(0xD9);
    return out.Flush();
}
