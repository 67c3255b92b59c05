// Atomic file writing and the PNG encoder of the frame's picture.
#include "render/file_output.h"

#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                         std::string& error)
{
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) {
        error = "the name is a directory";
        return false;
    }
    std::string temp = dir + "." + base + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    const mode_t mask = umask(0);   // mkstemp makes 0600; give the file the usual 0666 less umask
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        error = std::strerror(errno);
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    errno = 0;
    bool ok = write(file);
    if (!ok)
        error = errno ? std::strerror(errno) : "the data could not be encoded";
    if (std::fflush(file) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (std::fclose(file) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        ok = false;
    }
    if (!ok)
        unlink(temp.c_str());
    return ok;
}

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
    int depth;
    bool indexed;
    const png_color* palette;
    int paletteSize;
    png_bytep* rows;
};

// The libpng calls, alone in a frame of their own: an error of libpng jumps back here, and no
// object with a destructor lives between the setjmp and the jump.
bool EncodePng(png_structp png, png_infop info, std::FILE* file, const PngImage* image)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    png_set_IHDR(png, info, kCanvasSide, kCanvasSide, image->depth,
                 image->indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (image->indexed)
        png_set_PLTE(png, info, image->palette, image->paletteSize);
    png_set_rows(png, info, image->rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    return true;
}

}   // namespace

bool WritePng(std::FILE* file, const RasterCanvas& picture)
{
    constexpr int kSide = kCanvasSide;
    // Index the colours; a frame has black, white and blue, which makes a 2-bit image.
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> indices(static_cast<size_t>(kSide) * kSide);
    bool indexed = true;
    const std::uint32_t* bits = picture.Bits();
    for (size_t i = 0; i < indices.size() && indexed; ++i) {
        const std::uint32_t c = bits[(i / kSide) * RasterCanvas::kWidth + i % kSide];
        auto found = std::find(palette.begin(), palette.end(), c);
        if (found == palette.end()) {
            if (palette.size() == 256) {
                indexed = false;
                break;
            }
            palette.push_back(c);
            found = palette.end() - 1;
        }
        indices[i] = static_cast<std::uint8_t>(found - palette.begin());
    }
    const int depth = !indexed ? 8 : palette.size() <= 2 ? 1 : palette.size() <= 4 ? 2 : palette.size() <= 16 ? 4 : 8;
    const int perByte = 8 / depth;

    PngWriter writer;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!writer.png)
        return false;
    writer.info = png_create_info_struct(writer.png);
    if (!writer.info)
        return false;
    std::vector<std::vector<std::uint8_t>> rows(kSide);
    for (int r = 0; r < kSide; ++r) {
        auto& row = rows[static_cast<size_t>(r)];
        if (indexed) {
            row.assign(static_cast<size_t>((kSide + perByte - 1) / perByte), 0);
            for (int c = 0; c < kSide; ++c) {
                const unsigned shift = static_cast<unsigned>(8 - depth * (c % perByte + 1));
                row[static_cast<size_t>(c / perByte)] |=
                    static_cast<std::uint8_t>(indices[static_cast<size_t>(r) * kSide + static_cast<size_t>(c)] << shift);
            }
        } else {
            row.resize(static_cast<size_t>(kSide) * 3);
            for (int c = 0; c < kSide; ++c) {
                const std::uint32_t p = bits[static_cast<size_t>(r) * RasterCanvas::kWidth + static_cast<size_t>(c)];
                row[static_cast<size_t>(c) * 3 + 0] = static_cast<std::uint8_t>(p >> 16);
                row[static_cast<size_t>(c) * 3 + 1] = static_cast<std::uint8_t>(p >> 8);
                row[static_cast<size_t>(c) * 3 + 2] = static_cast<std::uint8_t>(p);
            }
        }
    }
    std::vector<png_bytep> rowPointers;
    for (auto& row : rows)
        rowPointers.push_back(row.data());
    std::array<png_color, 256> colours{};
    for (size_t i = 0; i < palette.size(); ++i)
        colours[i] = {static_cast<png_byte>(palette[i] >> 16), static_cast<png_byte>(palette[i] >> 8),
                      static_cast<png_byte>(palette[i])};

    const PngImage image{depth, indexed, colours.data(), static_cast<int>(palette.size()), rowPointers.data()};
    return EncodePng(writer.png, writer.info, file, &image);
}
