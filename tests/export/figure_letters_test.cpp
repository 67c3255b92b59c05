// The axes' letters drawn as strokes where no font library is built in; a label's in every build.
#include "export/figure_letters.h"

#include "render/title_text.h"
#include "render/utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

constexpr Rgb kPaper{255, 255, 255}, kInk{10, 20, 30};

FigurePicture Blank(int side)
{
    FigurePicture picture;
    picture.width = picture.height = side;
    picture.indices.assign(static_cast<size_t>(side) * side, picture.IndexOf(kPaper));
    return picture;
}

// The inked pixels, as row * width + column.
std::set<int> Inked(const FigurePicture& picture)
{
    std::set<int> inked;
    for (int i = 0; i < picture.width * picture.height; ++i)
        if (picture.palette[picture.indices[i]] == kInk)
            inked.insert(i);
    return inked;
}

std::set<int> Letter(const std::string& text, double x, double y, double height, int side = 100)
{
    Figure figure;
    figure.texts.push_back({{x, y}, height, text, kInk});
    FigurePicture picture = Blank(side);
    DrawFigureLetters(figure, picture);
    return Inked(picture);
}

}   // namespace

TEST(FigureLetters, EachAxisLetterIsInkedInsideItsOwnBoxAndLooksItsOwn)
{
    std::vector<std::set<int>> letters;
    for (const char* text : {"x", "y", "z"}) {
        const std::set<int> inked = Letter(text, 50, 50, 20);
        EXPECT_GT(inked.size(), 20u) << text;
        for (int i : inked) {
            const int col = i % 100, row = i / 100;
            EXPECT_NEAR(col, 50, 8) << text;             // 0.7 x 0.8 of the height wide, and the pen
            EXPECT_TRUE(row >= 42 && row <= 66) << text;  // the y's tail below
        }
        letters.push_back(inked);
    }
    EXPECT_NE(letters[0], letters[1]);
    EXPECT_NE(letters[1], letters[2]);
    EXPECT_NE(letters[0], letters[2]);
    // The x is symmetric about its centre column; the z is not.
    auto mirrored = [](const std::set<int>& inked) {
        std::set<int> out;
        for (int i : inked)
            out.insert(i / 100 * 100 + (99 - i % 100));
        return out;
    };
    EXPECT_EQ(mirrored(letters[0]), letters[0]);
    EXPECT_NE(mirrored(letters[2]), letters[2]);
}

TEST(FigureLetters, TickNumbersAreStrokedCentredTitlesDrawNothingAndNothingLeavesThePicture)
{
    Figure titled;
    titled.texts.push_back({{50, 50}, 20, "Título", kInk, true});
    FigurePicture picture = Blank(100);
    DrawFigureLetters(titled, picture);
    EXPECT_TRUE(Inked(picture).empty());
    // A tick's number, as the page's pictures show it: about as far left of its place as right.
    const std::set<int> number = Letter("−0,5", 50, 50, 10);
    ASSERT_FALSE(number.empty());
    int least = 100, most = 0;
    for (int i : number) {
        least = std::min(least, i % 100);
        most = std::max(most, i % 100);
    }
    EXPECT_NEAR((least + most) / 2.0, 50.0, 1.5);
    EXPECT_GT(most - least, 15);
    // Half off each edge: drawn only where the picture is, never past it.
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{{0, 0}, {99, 99}, {-5, 50}, {50, 104}}) {
        const std::set<int> inked = Letter("xyz", x, y, 20);
        for (int i : inked)
            EXPECT_TRUE(i >= 0 && i < 100 * 100);
    }
    EXPECT_FALSE(Letter("xyz", 0, 0, 20).empty());
}

TEST(FigureLetters, EveryCharacterOfASweepsLabelIsStrokedFromItsBoxsLeftEdge)
{
    // A parameter's name (letters, digits, "_"), " = " and its value (digits, "−", the decimal comma).
    const std::string all = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_=,\u2212";
    std::set<std::set<int>> shapes;
    int count = 0;
    for (size_t i = 0; i < all.size(); ++count) {
        const size_t length = DecodeUtf8(all, i).second;
        const std::string text = all.substr(i, length);
        i += length;
        Figure figure;
        figure.texts.push_back({{20.0 + EstimatedWidth(TextRuns(text)) * 10.0, 30.0}, 20.0, text, kInk, false, true});
        FigurePicture picture = Blank(100);
        DrawFigureLetters(figure, picture);   // the axes' letters leave a label to its own drawer
        EXPECT_TRUE(Inked(picture).empty()) << text;
        DrawFigureLabels(figure, picture);
        const std::set<int> inked = Inked(picture);
        EXPECT_GT(inked.size(), 6u) << text;
        for (int p : inked) {
            EXPECT_TRUE(p % 100 >= 17 && p % 100 <= 40) << text;   // from the left edge, a glyph and the pen wide
            EXPECT_TRUE(p / 100 >= 18 && p / 100 <= 48) << text;   // the capitals' top to the descenders
        }
        shapes.insert(inked);
    }
    EXPECT_EQ(shapes.size(), static_cast<size_t>(count) - 1);   // only "I" and "l" alike, as in a sans-serif font
    Figure axes;
    axes.texts.push_back({{50, 50}, 20, "x", kInk});
    FigurePicture picture = Blank(100);
    DrawFigureLabels(axes, picture);
    EXPECT_TRUE(Inked(picture).empty());
    // A name far longer than the picture: drawn up to its edge, no further.
    const std::string longName(200000, 'W');
    axes.texts.push_back({{20.0 + EstimatedWidth(TextRuns(longName)) * 10.0, 30.0}, 20.0, longName, kInk, false, true});
    DrawFigureLabels(axes, picture);
    EXPECT_GT(Inked(picture).size(), 200u);
}
