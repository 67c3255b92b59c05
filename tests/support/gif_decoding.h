// Reading a GIF back with giflib for the tests: its frames composed as a viewer shows them.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

struct DecodedGif {
    bool ok = false;
    std::string version;                            // "GIF87a" or "GIF89a"
    int loopCount = -1;                             // the NETSCAPE2.0 count; -1 without the block
    std::vector<int> delays;                        // centiseconds, per frame; -1 without a control block
    std::vector<int> rectangleAreas;                // the stored rectangle of each frame
    std::vector<std::vector<std::uint32_t>> frames; // 0xRRGGBB per pixel, each frame composed over the last
};

inline DecodedGif DecodeGif(const std::string& bytes)
{
    DecodedGif out;
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    int error = 0;
    GifFileType* gif = DGifOpen(file, [](GifFileType* g, GifByteType* to, int n) {
        return static_cast<int>(std::fread(to, 1, static_cast<size_t>(n), static_cast<std::FILE*>(g->UserData)));
    }, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        if (gif)
            DGifCloseFile(gif, &error);
        std::fclose(file);
        return out;
    }
    out.version = bytes.substr(0, 6);
    const SavedImage* first = gif->ImageCount > 0 ? &gif->SavedImages[0] : nullptr;   // holds what precedes it
    for (int e = 0; first && e + 1 < first->ExtensionBlockCount; ++e) {
        const ExtensionBlock& b = first->ExtensionBlocks[e];
        if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 && std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0) {
            const ExtensionBlock& sub = first->ExtensionBlocks[e + 1];
            out.loopCount = sub.Bytes[1] | sub.Bytes[2] << 8;
        }
    }
    std::vector<std::uint32_t> screen(static_cast<size_t>(gif->SWidth) * gif->SHeight, 0);
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        const GifImageDesc& d = image.ImageDesc;
        const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
        GraphicsControlBlock control{};
        out.delays.push_back(DGifSavedExtensionToGCB(gif, i, &control) == GIF_OK ? control.DelayTime : -1);
        out.rectangleAreas.push_back(d.Width * d.Height);
        for (int y = 0; y < d.Height; ++y)
            for (int x = 0; x < d.Width; ++x) {
                const GifColorType c = map->Colors[image.RasterBits[y * d.Width + x]];
                screen[static_cast<size_t>(d.Top + y) * gif->SWidth + d.Left + x] =
                    std::uint32_t{c.Red} << 16 | std::uint32_t{c.Green} << 8 | c.Blue;
            }
        out.frames.push_back(screen);
    }
    out.ok = gif->SWidth == 500 && gif->SHeight == 500;
    DGifCloseFile(gif, &error);
    std::fclose(file);
    return out;
}
