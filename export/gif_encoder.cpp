// GIF encoding through giflib: the screen, the looping block, and each frame's changed rectangle.
#include "export/gif_encoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace {

int WriteToFile(GifFileType* gif, const GifByteType* bytes, int length)
{
    auto* file = static_cast<std::FILE*>(gif->UserData);
    return static_cast<int>(std::fwrite(bytes, 1, static_cast<size_t>(length), file));
}

// A colour map of a power-of-two size from 2 to 256 holding palette, black after it.
ColorMapObject* MakeColourMap(const std::vector<Rgb>& palette)
{
    int size = 2;
    while (size < static_cast<int>(palette.size()))
        size *= 2;
    std::vector<GifColorType> colours(static_cast<size_t>(size), GifColorType{0, 0, 0});
    for (size_t i = 0; i < palette.size(); ++i)
        colours[i] = {palette[i].r, palette[i].g, palette[i].b};
    return GifMakeMapObject(size, colours.data());
}

bool IsPrefix(const std::vector<Rgb>& shorter, const std::vector<Rgb>& longer)
{
    return shorter.size() <= longer.size() && std::equal(shorter.begin(), shorter.end(), longer.begin());
}

int CentisecondsUpTo(int frames, int fps)
{
    return (200 * frames + fps) / (2 * fps);   // 100 frames / fps, rounded half up
}

}   // namespace

GifEncoder::GifEncoder(std::FILE* file, int fps) : m_file(file), m_fps(fps) {}

GifEncoder::~GifEncoder()
{
    if (m_gif)
        EGifCloseFile(m_gif, nullptr);   // after a failure: frees what giflib holds
}

bool GifEncoder::Start(const Pixels& picture)
{
    const std::vector<Rgb>& palette = picture.palette;
    int error = 0;
    m_gif = EGifOpen(m_file, WriteToFile, &error);
    if (!m_gif)
        return false;
    m_globalColours = palette;
    ColorMapObject* map = MakeColourMap(palette);
    if (!map)
        return false;
    EGifSetGifVersion(m_gif, m_fps > 0);   // the delay and the looping need GIF89a
    const int colourBits = map->BitsPerPixel;
    const bool ok = EGifPutScreenDesc(m_gif, picture.width, picture.height, colourBits, 0, map) == GIF_OK;
    GifFreeMapObject(map);
    if (!ok || m_fps == 0)
        return ok;
    static const GifByteType kApplication[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType kLoopForever[] = {1, 0, 0};   // sub-block 1: a loop count of 0
    return EGifPutExtensionLeader(m_gif, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(m_gif, sizeof kApplication, kApplication) == GIF_OK &&
           EGifPutExtensionBlock(m_gif, sizeof kLoopForever, kLoopForever) == GIF_OK &&
           EGifPutExtensionTrailer(m_gif) == GIF_OK;
}

bool GifEncoder::AddFrame(const IndexedCanvas& picture)
{
    return Add({picture.Bits(), kCanvasSide, kCanvasSide, picture.Palette()});   // the visible rows first
}

bool GifEncoder::AddFrame(const FigurePicture& picture)
{
    return Add({picture.indices.data(), picture.width, picture.height, picture.palette});
}

bool GifEncoder::Add(const Pixels& picture)
{
    if (m_failed)
        return false;
    const std::vector<Rgb>& palette = picture.palette;
    if ((!m_gif && !Start(picture)) || (m_frames > 0 && (picture.width != m_width || picture.height != m_height))) {
        m_failed = true;
        return false;
    }
    m_width = picture.width;
    m_height = picture.height;
    const int wide = picture.width, high = picture.height;
    const std::uint8_t* bits = picture.bits;
    int top = 0, bottom = high, left = 0, right = wide;
    // Indices compare with the previous frame's only while they name the same colours.
    if (m_frames > 0 && IsPrefix(m_lastPalette, palette)) {
        auto rowDiffers = [&](int row) {
            return std::memcmp(bits + size_t(row) * wide, &m_last[size_t(row) * wide], size_t(wide)) != 0;
        };
        while (top < high && !rowDiffers(top))
            ++top;
        if (top == high) {   // nothing changed: one unchanged pixel still makes a frame
            top = left = 0;
            bottom = right = 1;
        } else {
            while (!rowDiffers(bottom - 1))
                --bottom;
            left = wide;
            right = 0;
            for (int row = top; row < bottom; ++row) {
                const std::uint8_t* now = bits + size_t(row) * wide;
                const std::uint8_t* before = &m_last[size_t(row) * wide];
                int l = 0, r = wide;
                while (l < left && now[l] == before[l])
                    ++l;
                while (r > right && now[r - 1] == before[r - 1])
                    --r;
                left = std::min(left, l);
                right = std::max(right, r);
            }
        }
    }
    const bool localColours = !IsPrefix(palette, m_globalColours);
    if (!PutRectangle(picture, left, top, right, bottom, localColours)) {
        m_failed = true;
        return false;
    }
    m_last.assign(bits, bits + size_t(wide) * high);
    m_lastPalette = palette;
    ++m_frames;
    return true;
}

bool GifEncoder::PutRectangle(const Pixels& picture, int left, int top, int right, int bottom, bool localColours)
{
    if (m_fps > 0) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSE_DO_NOT;   // the next frame's rectangle is drawn over this one
        control.UserInputFlag = false;
        control.DelayTime = CentisecondsUpTo(m_frames + 1, m_fps) - CentisecondsUpTo(m_frames, m_fps);
        control.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        if (EGifPutExtension(m_gif, GRAPHICS_EXT_FUNC_CODE, sizeof extension, extension) != GIF_OK)
            return false;
    }
    ColorMapObject* map = localColours ? MakeColourMap(picture.palette) : nullptr;
    if (localColours && !map)
        return false;
    const bool described = EGifPutImageDesc(m_gif, left, top, right - left, bottom - top, false, map) == GIF_OK;
    GifFreeMapObject(map);
    if (!described)
        return false;
    const int width = right - left;
    m_row.resize(static_cast<size_t>(width));
    for (int row = top; row < bottom; ++row) {
        std::memcpy(m_row.data(), picture.bits + size_t(row) * picture.width + left, static_cast<size_t>(width));
        if (EGifPutLine(m_gif, m_row.data(), width) != GIF_OK)
            return false;
    }
    return true;
}

bool GifEncoder::Finish()
{
    if (m_failed || m_frames == 0) {
        m_failed = true;
        return false;
    }
    int error = 0;
    const bool ok = EGifCloseFile(m_gif, &error) == GIF_OK;
    m_gif = nullptr;   // freed by the close, whether or not it succeeded
    m_failed = !ok;
    return ok;
}

bool WriteGif(std::FILE* file, const IndexedCanvas& picture)
{
    GifEncoder gif(file, 0);
    return gif.AddFrame(picture) && gif.Finish();
}

bool WriteGif(std::FILE* file, const FigurePicture& picture)
{
    GifEncoder gif(file, 0);
    return gif.AddFrame(picture) && gif.Finish();
}
