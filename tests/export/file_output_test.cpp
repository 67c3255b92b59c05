// PNG output: the same bytes from either picture, and a file that decodes to the frame's pixels.
#include "geometry/view_changes.h"
#include "export/file_writer.h"
#include "export/png_encoder.h"
#include "render/frame.h"
#include "surfaces/registry.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string PngBytes(const auto& picture)
{
    std::FILE* file = std::tmpfile();
    EXPECT_TRUE(WritePng(file, picture));
    std::rewind(file);
    std::string bytes;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

ViewState ViewOf(SurfaceKind kind)
{
    ViewState view;
    ResetViewState(view);
    view.surface = kind;
    return view;
}

TEST(PngOutput, WindowPictureAndFilePictureGiveTheSameBytes)
{
    for (SurfaceKind kind = 0; kind <= kBuiltinSurfaceCount; ++kind) {
        ViewState a = ViewOf(kind), b = ViewOf(kind);
        RasterCanvas window;
        IndexedCanvas file;
        RenderNextFrame(a, window);
        RenderNextFrame(b, file);
        EXPECT_EQ(PngBytes(window), PngBytes(file)) << "surface " << kind;
    }
}

TEST(PngOutput, DecodesToTheFramePixels)
{
    ViewState view = ViewOf(kPseudosphere);
    RasterCanvas picture;
    RenderNextFrame(view, picture);
    const std::string bytes = PngBytes(picture);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()));
    EXPECT_EQ(image.width, 500u);
    EXPECT_EQ(image.height, 500u);
    EXPECT_TRUE(image.format & PNG_FORMAT_FLAG_COLORMAP);   // stored as an indexed image
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(500 * 500);
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    for (int row = 0; row < 500; ++row)
        for (int col = 0; col < 500; ++col)
            ASSERT_EQ(pixels[static_cast<size_t>(row) * 500 + col], picture.PixelAt(col, row)) << col << "," << row;
}

TEST(PngOutput, ManyColoursFallBackToRgb)
{
    RasterCanvas picture;
    for (int i = 0; i < 300; ++i) {
        picture.SelectPen({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i / 2), 7});
        picture.MoveTo({i, 0});
        picture.LineTo({i, 499});
    }
    const std::string bytes = PngBytes(picture);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()));
    EXPECT_FALSE(image.format & PNG_FORMAT_FLAG_COLORMAP);
    png_image_free(&image);
}

}   // namespace
