// Figures read back by the programs people print and typeset with: poppler for the PDF,
// ghostscript for the EPS, pdflatex with TikZ for the TikZ picture, librsvg for the SVG. Each must
// draw what our own PNG of the same options shows. A missing reader fails the test.
#include "cli_run_support.h"
#include "figure_support.h"

#include <cstdlib>
#include <fstream>

namespace {

bool Have(const char* program)
{
    return std::system(("command -v " + std::string(program) + " >/dev/null 2>&1").c_str()) == 0;
}

bool Succeeds(const std::string& command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// Ink: a pixel darker than mid-grey on the paper theme's white, antialiasing included.
std::vector<bool> Ink(const DecodedPng& png, int threshold)
{
    std::vector<bool> ink(png.rgb.size());
    for (int r = 0; r < png.height; ++r)
        for (int c = 0; c < png.width; ++c)
            ink[size_t(r) * png.width + c] = png.Grey(c, r) < threshold;
    return ink;
}

// How many inked pixels of a have no inked pixel of b within radius pixels.
long Unmatched(const std::vector<bool>& a, const std::vector<bool>& b, int width, int height, int radius)
{
    long missing = 0;
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            if (!a[size_t(r) * width + c])
                continue;
            bool near = false;
            for (int dr = -radius; dr <= radius && !near; ++dr)
                for (int dc = -radius; dc <= radius && !near; ++dc) {
                    const int rr = r + dr, cc = c + dc;
                    near = rr >= 0 && cc >= 0 && rr < height && cc < width && b[size_t(rr) * width + cc];
                }
            missing += !near;
        }
    return missing;
}

class FigureReaders : public FigureFiles {
protected:
    // The reader's picture against our PNG: each inked pixel of either within radius of one of the other.
    void ExpectSamePicture(const std::string& readerPng, const std::string& oursPng, int radius = 2)
    {
        const DecodedPng ours = DecodeAnyPng(ReadWhole(m_dir / oursPng)), theirs = DecodeAnyPng(ReadWhole(m_dir / readerPng));
        ASSERT_FALSE(ours.rgb.empty());
        ASSERT_FALSE(theirs.rgb.empty()) << readerPng;
        ASSERT_EQ(theirs.width, ours.width) << readerPng;
        ASSERT_EQ(theirs.height, ours.height) << readerPng;
        const std::vector<bool> a = Ink(ours, 128), b = Ink(theirs, 200);
        const long inked = std::count(a.begin(), a.end(), true);
        ASSERT_GT(inked, 5000);
        EXPECT_LT(Unmatched(a, b, ours.width, ours.height, radius), inked / 100) << readerPng << ": ours not drawn";
        EXPECT_LT(Unmatched(b, a, ours.width, ours.height, radius), inked / 100) << readerPng << ": drawn, not ours";
    }

    void Render(const std::string& name, std::vector<std::string> extra = {}, const char* hidden = "--hidden=dashed")
    {
        std::vector<std::string> args = {"-s", "toro", "--orbit", "30,-40", hidden, "--theme", "papel",
                                         "-o", (m_dir / name).string()};
        args.insert(args.end(), extra.begin(), extra.end());
        ASSERT_EQ(RunCli(args).status, 0) << name;
    }

    std::string In(const std::string& name) const { return "'" + (m_dir / name).string() + "'"; }
};

TEST_F(FigureReaders, PopplerDrawsThePdfAsOurPng)
{
    ASSERT_TRUE(Have("pdftoppm")) << "poppler-utils is needed";
    Render("f.pdf");
    Render("f.png");
    ASSERT_TRUE(Succeeds("pdftoppm -png -singlefile -scale-to-x 500 -scale-to-y 500 " + In("f.pdf") + " " + In("poppler")));
    ExpectSamePicture("poppler.png", "f.png");
    ASSERT_TRUE(Succeeds("pdfimages -list " + In("f.pdf") + " | awk 'NR > 2 { exit 1 }'")) << "a raster inside the PDF";
}

TEST_F(FigureReaders, GhostscriptDrawsTheEpsAsOurPng)
{
    ASSERT_TRUE(Have("gs")) << "ghostscript is needed";
    Render("f.eps");
    Render("f.png");
    ASSERT_TRUE(Succeeds("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -g500x500 -dEPSFitPage -sOutputFile=" + In("gs.png") +
                    " " + In("f.eps")));
    ExpectSamePicture("gs.png", "f.png");
    // Vector only: no image operator is ever called in the page's drawing.
    const std::string eps = ReadWhole(m_dir / "f.eps");
    EXPECT_EQ(eps.find("cairo_image\n"), std::string::npos);
    EXPECT_EQ(eps.find("] cairo_image"), std::string::npos);
}

TEST_F(FigureReaders, PdflatexTypesetsTheTikzPictureAsOurPng)
{
    ASSERT_TRUE(Have("pdflatex")) << "texlive-latex-base and texlive-pictures are needed";
    ASSERT_TRUE(Have("pdftoppm")) << "poppler-utils is needed";
    Render("f.tikz");
    Render("f.png");
    std::ofstream(m_dir / "doc.tex") << "\\documentclass{article}\n\\usepackage{tikz}\n"
                                        "\\usepackage[paperwidth=12cm,paperheight=12cm,margin=0cm]{geometry}\n"
                                        "\\pagestyle{empty}\n\\begin{document}\n"
                                        "\\noindent\\makebox[0pt][l]{\\input{f.tikz}}%\n\\end{document}\n";
    ASSERT_TRUE(Succeeds("cd " + In("") + " && pdflatex -interaction=nonstopmode -halt-on-error doc.tex"))
        << ReadWhole(m_dir / "doc.log");
    ASSERT_TRUE(Succeeds("pdftoppm -png -singlefile -scale-to-x 500 -scale-to-y 500 " + In("doc.pdf") + " " + In("tex")));
    ExpectSamePicture("tex.png", "f.png");
}

TEST_F(FigureReaders, LibrsvgDrawsTheSvgEnlargedFourTimesAsOurTwoThousandPixelPng)
{
    ASSERT_TRUE(Have("rsvg-convert")) << "librsvg2-bin is needed";
    // Hidden lines, not dashed: the pieces are tested at each picture's own resolution, and a dash
    // pattern starting a pixel later would no longer compare.
    Render("f.svg", {}, "--hidden");
    Render("big.png", {"--size", "2000"}, "--hidden");
    ASSERT_TRUE(Succeeds("rsvg-convert -w 2000 -h 2000 -b white -o " + In("rsvg.png") + " " + In("f.svg")));
    ExpectSamePicture("rsvg.png", "big.png", 3);   // a one-pixel line enlarged 4 times is 4 pixels wide
}

}   // namespace
