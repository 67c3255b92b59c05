// GIF pictures and animations of frames, written by giflib one frame at a time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "render/canvas.h"
#include "render/figure_picture.h"
#include "render/raster_canvas.h"

struct GifFileType;

constexpr int kGifFpsMin = 1, kGifFpsMax = 50, kGifFpsDefault = 25;

// Writes the visible 500 x 500 squares of indexed pictures (or figures' pictures of any one size) as one GIF onto a stream, frame by
// frame: only the previous frame is kept, so memory does not grow with the number of frames. Each
// frame shows exactly the picture given; after the first, only the rectangle that changed is
// stored, over the frame before it. Colours come from each picture's palette (up to 256).
class GifEncoder {
public:
    // fps 0: a still picture (no delay, no looping); 1 to 50: an animation looping forever whose
    // frame k ends at round(100 (k + 1) / fps) centiseconds, so that the rate holds on average.
    GifEncoder(std::FILE* file, int fps);
    ~GifEncoder();
    GifEncoder(const GifEncoder&) = delete;
    GifEncoder& operator=(const GifEncoder&) = delete;

    bool AddFrame(const IndexedCanvas& picture);   // false once anything failed
    // A figure's picture of any size (a --size or a title); every frame the first one's size.
    bool AddFrame(const FigurePicture& picture);
    bool Finish();                                 // the trailer; false if anything failed

    int Frames() const { return m_frames; }

private:
    // Rows of indices, width apart, in palette's colours.
    struct Pixels {
        const std::uint8_t*     bits;
        int                     width, height;
        const std::vector<Rgb>& palette;
    };
    bool Add(const Pixels& picture);
    bool Start(const Pixels& picture);
    bool PutRectangle(const Pixels& picture, int left, int top, int right, int bottom, bool localColours);

    std::FILE*                 m_file;
    int                        m_fps;
    GifFileType*               m_gif = nullptr;
    bool                       m_failed = false;
    int                        m_frames = 0;
    int                        m_width = 0, m_height = 0;   // the first frame's, which all keep
    std::vector<Rgb>           m_globalColours;   // the first frame's palette, as the screen's colour map
    std::vector<Rgb>           m_lastPalette;     // the previous frame's, to tell whether indices compare
    std::vector<std::uint8_t>  m_last;            // the previous frame's indices
    std::vector<std::uint8_t>  m_row;             // giflib masks the line it is given: a scratch copy
};

// One picture as a still GIF.
bool WriteGif(std::FILE* file, const IndexedCanvas& picture);
bool WriteGif(std::FILE* file, const FigurePicture& picture);
