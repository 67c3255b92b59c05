// The PNG encoder of the frame's picture, by libpng.
#include "export/png_encoder.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <vector>

namespace {

struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngWriter() { png_destroy_write_struct(&png, &info); }
};

void OnPngError(png_structp png, png_const_charp)
{
    std::longjmp(png_jmpbuf(png), 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

struct PngImage {
    int width, height;
    int depth;
    bool indexed;
    const png_color* palette;
    int paletteSize;
    png_bytep* rows;
};

// The libpng calls, alone in a frame of their own: an error of libpng jumps back here, and no
// object with a destructor lives between the setjmp and the jump.
bool RunLibpng(png_structp png, png_infop info, std::FILE* file, const PngImage* image)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    // Line drawings on a flat ground: no row filter, and zlib's run-length mode at its fastest
    // level compresses them about as well as the default in a fraction of the time.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_strategy(png, Z_RLE);
    png_set_compression_level(png, 1);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image->width), static_cast<png_uint_32>(image->height), image->depth,
                 image->indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image->indexed)
        png_set_PLTE(png, info, image->palette, image->paletteSize);
    png_set_rows(png, info, image->rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

}   // namespace

namespace {

bool EncodePng(std::FILE* file, const PngImage& image)
{
    PngWriter writer;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!writer.png)
        return false;
    writer.info = png_create_info_struct(writer.png);
    if (!writer.info)
        return false;
    return RunLibpng(writer.png, writer.info, file, &image);
}

// The visible square as palette indices, the colours numbered in the order they first appear
// from the top-left: the same image, byte for byte, whichever picture it was drawn on. The
// indices are read through lut, which renumbers them.
struct IndexedSquare {
    int width = kCanvasSide, height = kCanvasSide;
    const std::uint8_t* indices = nullptr;   // height rows of width, one after another
    std::array<std::uint8_t, 256> lut{};
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> storage;        // holds the indices when they had to be made
};

Rgb ColourOf(std::uint32_t packed)
{
    return {static_cast<std::uint8_t>(packed >> 16), static_cast<std::uint8_t>(packed >> 8),
            static_cast<std::uint8_t>(packed)};
}

// False when the picture has more than 256 colours.
bool IndexSquare(const RasterCanvas& picture, IndexedSquare& out)
{
    out.storage.resize(static_cast<size_t>(kCanvasSide) * kCanvasSide);
    std::vector<std::uint32_t> seen;
    std::uint32_t last = 0;
    std::uint8_t lastIndex = 0;
    for (int row = 0; row < kCanvasSide; ++row) {
        const std::uint32_t* in = picture.Bits() + static_cast<size_t>(row) * RasterCanvas::kWidth;
        std::uint8_t* to = out.storage.data() + static_cast<size_t>(row) * kCanvasSide;
        for (int col = 0; col < kCanvasSide; ++col) {
            const std::uint32_t c = in[col];
            if (c != last || seen.empty()) {   // runs of one colour are the rule
                auto found = std::find(seen.begin(), seen.end(), c);
                if (found == seen.end()) {
                    if (seen.size() == 256)
                        return false;
                    seen.push_back(c);
                    out.palette.push_back(ColourOf(c));
                    found = seen.end() - 1;
                }
                last = c;
                lastIndex = static_cast<std::uint8_t>(found - seen.begin());
            }
            to[col] = lastIndex;
        }
    }
    out.indices = out.storage.data();
    for (size_t i = 0; i < out.lut.size(); ++i)
        out.lut[i] = static_cast<std::uint8_t>(i);
    return true;
}

// Indices numbered in the order their colours first appear: each colour's first place is found
// by a byte search, and their order gives the numbering.
void IndexByFirstPlace(const std::uint8_t* bits, size_t size, const std::vector<Rgb>& palette, IndexedSquare& out)
{
    std::vector<std::pair<size_t, size_t>> firsts;   // (first place, canvas index)
    for (size_t i = 0; i < palette.size(); ++i) {
        const void* at = std::memchr(bits, static_cast<int>(i), size);
        if (at)
            firsts.emplace_back(static_cast<size_t>(static_cast<const std::uint8_t*>(at) - bits), i);
    }
    std::sort(firsts.begin(), firsts.end());
    for (const auto& [place, index] : firsts) {
        out.lut[index] = static_cast<std::uint8_t>(out.palette.size());
        out.palette.push_back(palette[index]);
    }
    out.indices = bits;
}

void IndexSquare(const IndexedCanvas& picture, IndexedSquare& out)
{
    // The picture's rows are 500 wide, so the square is its first 250000 bytes.
    IndexByFirstPlace(picture.Bits(), static_cast<size_t>(kCanvasSide) * kCanvasSide, picture.Palette(), out);
}

// Packs one row of indices, perByte to a byte, most significant first.
template <int kDepth>
void PackRow(const std::uint8_t* in, int width, const std::array<std::uint8_t, 256>& lut, std::uint8_t* row)
{
    constexpr int kPerByte = 8 / kDepth;
    for (int c = 0; c < width; c += kPerByte) {
        unsigned byte = 0;
        for (int k = 0; k < kPerByte; ++k)
            byte = (byte << kDepth) | (c + k < width ? lut[in[c + k]] : 0u);
        row[c / kPerByte] = static_cast<std::uint8_t>(byte);
    }
}

// Packs the indices at the smallest bit depth that holds the palette and writes the PNG.
bool WriteIndexedPng(std::FILE* file, const IndexedSquare& square)
{
    const size_t count = square.palette.size();
    const int depth = count <= 2 ? 1 : count <= 4 ? 2 : count <= 16 ? 4 : 8;
    const int perByte = 8 / depth;
    const int width = square.width, height = square.height;
    const size_t rowBytes = static_cast<size_t>((width + perByte - 1) / perByte);
    std::vector<std::uint8_t> data(rowBytes * static_cast<size_t>(height), 0);
    std::vector<png_bytep> rows(static_cast<size_t>(height));
    for (int r = 0; r < height; ++r) {
        std::uint8_t* row = data.data() + rowBytes * static_cast<size_t>(r);
        rows[static_cast<size_t>(r)] = row;
        const std::uint8_t* in = square.indices + static_cast<size_t>(r) * static_cast<size_t>(width);
        switch (depth) {
        case 1: PackRow<1>(in, width, square.lut, row); break;
        case 2: PackRow<2>(in, width, square.lut, row); break;
        case 4: PackRow<4>(in, width, square.lut, row); break;
        default: PackRow<8>(in, width, square.lut, row); break;
        }
    }
    std::array<png_color, 256> colours{};
    for (size_t i = 0; i < count; ++i)
        colours[i] = {square.palette[i].r, square.palette[i].g, square.palette[i].b};
    const PngImage image{width, height, depth, true, colours.data(), static_cast<int>(count), rows.data()};
    return EncodePng(file, image);
}

// A picture of more than 256 colours, as 24-bit RGB.
bool WriteRgbPng(std::FILE* file, const RasterCanvas& picture)
{
    const size_t rowBytes = static_cast<size_t>(kCanvasSide) * 3;
    std::vector<std::uint8_t> data(rowBytes * kCanvasSide);
    std::vector<png_bytep> rows(kCanvasSide);
    for (int r = 0; r < kCanvasSide; ++r) {
        std::uint8_t* row = data.data() + rowBytes * static_cast<size_t>(r);
        rows[static_cast<size_t>(r)] = row;
        const std::uint32_t* in = picture.Bits() + static_cast<size_t>(r) * RasterCanvas::kWidth;
        for (int c = 0; c < kCanvasSide; ++c) {
            const Rgb colour = ColourOf(in[c]);
            row[c * 3 + 0] = colour.r;
            row[c * 3 + 1] = colour.g;
            row[c * 3 + 2] = colour.b;
        }
    }
    const PngImage image{kCanvasSide, kCanvasSide, 8, false, nullptr, 0, rows.data()};
    return EncodePng(file, image);
}

}   // namespace

bool WritePng(std::FILE* file, const RasterCanvas& picture)
{
    IndexedSquare square;
    if (!IndexSquare(picture, square))
        return WriteRgbPng(file, picture);
    return WriteIndexedPng(file, square);
}

bool WritePng(std::FILE* file, const IndexedCanvas& picture)
{
    IndexedSquare square;
    IndexSquare(picture, square);
    return WriteIndexedPng(file, square);
}

bool WritePng(std::FILE* file, const FigurePicture& picture)
{
    IndexedSquare square;
    square.width = picture.width;
    square.height = picture.height;
    IndexByFirstPlace(picture.indices.data(), picture.indices.size(), picture.palette, square);
    return WriteIndexedPng(file, square);
}
