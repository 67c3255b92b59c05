// What the figure tests share: a temporary folder, files read whole, PNGs decoded at any size.
#pragma once

#include <gtest/gtest.h>
#include <png.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

inline std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A PNG of any kind as grey levels (0 black .. 255 white) or 0xRRGGBB colours, with its size.
struct DecodedPng {
    int width = 0, height = 0;
    std::vector<std::uint32_t> rgb;   // 0xRRGGBB, row after row; empty when the file is no PNG
    std::uint32_t At(int col, int row) const { return rgb[static_cast<size_t>(row) * width + col]; }
    int Grey(int col, int row) const
    {
        const std::uint32_t c = At(col, row);
        return static_cast<int>(((c >> 16) & 0xFF) * 299 + ((c >> 8) & 0xFF) * 587 + (c & 0xFF) * 114) / 1000;
    }
};

inline DecodedPng DecodeAnyPng(const std::string& bytes)
{
    DecodedPng out;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return out;
    image.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return out;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.resize(static_cast<size_t>(out.width) * out.height);
    for (size_t i = 0; i < out.rgb.size(); ++i)
        out.rgb[i] = (std::uint32_t{pixels[3 * i]} << 16) | (std::uint32_t{pixels[3 * i + 1]} << 8) | pixels[3 * i + 2];
    return out;
}

class FigureFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "vexilon-figure-XXXXXX").string();
        m_dir = mkdtemp(pattern.data());
    }
    void TearDown() override { if (!HasFailure()) fs::remove_all(m_dir); }
    fs::path m_dir;
};
