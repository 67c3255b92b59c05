// The PDF and the EPS that a build without cairo writes itself, read back by poppler and
// ghostscript beside cairo's documents of the same figure: both must print the same picture.
#include "cli_run_support.h"
#include "export/figure_cairo.h"
#include "export/figure_document.h"
#include "figure_support.h"
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "surfaces/registry.h"

#include <algorithm>
#include <cstdlib>

namespace {

// How many pixels of two pictures of one size differ by more than a quarter in any channel.
long Differing(const DecodedPng& a, const DecodedPng& b)
{
    long differ = 0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i) {
        bool far = false;
        for (int shift = 0; shift < 24; shift += 8)
            far = far || std::abs(int((a.rgb[i] >> shift) & 0xff) - int((b.rgb[i] >> shift) & 0xff)) > 64;
        differ += far;
    }
    return differ;
}

class FigureDocuments : public FigureFiles {
protected:
    Figure FigureOf(int surface, const FrameStyle& style)
    {
        ViewState view;
        ResetViewState(view);
        view.surface = surface;
        OrbitEye(view, {0, 0}, {30, -40});
        Figure figure;
        BuildFigure(BeginFrame(view, BuiltinWireframe(surface)), BuiltinWireframe(surface), style, figure);
        return figure;
    }
    void Write(const std::string& name, bool (*writer)(std::FILE*, const Figure&), const Figure& figure)
    {
        std::FILE* file = std::fopen((m_dir / name).c_str(), "wb");
        ASSERT_NE(file, nullptr);
        ASSERT_TRUE(writer(file, figure)) << name;
        std::fclose(file);
    }
    DecodedPng Read(const std::string& command, const std::string& png)
    {
        EXPECT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
        return DecodeAnyPng(ReadWhole(m_dir / png));
    }
    std::string In(const std::string& name) const { return "'" + (m_dir / name).string() + "'"; }
    DecodedPng Poppler(const std::string& pdf)
    {
        return Read("pdftoppm -png -singlefile -scale-to-x 500 -scale-to-y 500 " + In(pdf) + " " + In(pdf), pdf + ".png");
    }
    DecodedPng Ghostscript(const std::string& eps)
    {
        return Read("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -g500x500 -dEPSFitPage -sOutputFile=" + In(eps + ".png") + " " +
                    In(eps), eps + ".png");
    }
};

// Dashed hidden lines on paper, the stereo layers' blends on the screen's black, and wide lines:
// the same pixels but for a few of the lines' antialiased edges.
TEST_F(FigureDocuments, PopplerAndGhostscriptPrintThemAsCairosDocuments)
{
    FrameStyle paper;
    paper.hiddenLines = paper.dashedHidden = true;
    paper.theme = Theme::Papel;
    FrameStyle stereo;
    stereo.anaglyph = true;
    stereo.lineWidth = 3;
    for (const auto& [surface, style] : {std::pair{kTorus, paper}, std::pair{kSine, stereo}}) {
        const Figure figure = FigureOf(surface, style);
        Write("cairo.pdf", WriteFigurePdf, figure);
        Write("own.pdf", WriteFigurePdfDirect, figure);
        const DecodedPng cairoPdf = Poppler("cairo.pdf"), ownPdf = Poppler("own.pdf");
        ASSERT_EQ(cairoPdf.rgb.size(), 500u * 500u);
        ASSERT_EQ(ownPdf.rgb.size(), cairoPdf.rgb.size());
        EXPECT_LT(Differing(cairoPdf, ownPdf), 500) << "surface " << surface;
        Write("cairo.eps", WriteFigureEps, figure);
        Write("own.eps", WriteFigureEpsDirect, figure);
        const DecodedPng cairoEps = Ghostscript("cairo.eps"), ownEps = Ghostscript("own.eps");
        ASSERT_EQ(ownEps.rgb.size(), cairoEps.rgb.size());
        EXPECT_LT(Differing(cairoEps, ownEps), 500) << "surface " << surface;
    }
}

// The axes' letters and a title with an accent, in Helvetica where cairo sets DejaVu Sans: the
// square the same but for the letters' shapes, the title centred where cairo centres it.
TEST_F(FigureDocuments, TextsStandWhereCairosDo)
{
    FrameStyle style;
    style.axes = true;
    style.theme = Theme::Papel;
    style.title = "Superficie de revolución";
    const Figure figure = FigureOf(kSphere, style);
    Write("cairo.pdf", WriteFigurePdf, figure);
    Write("own.pdf", WriteFigurePdfDirect, figure);
    const DecodedPng cairoPdf = Poppler("cairo.pdf"), ownPdf = Poppler("own.pdf");
    ASSERT_EQ(ownPdf.rgb.size(), cairoPdf.rgb.size());
    const int band = static_cast<int>(figure.top * 500 / figure.height);
    DecodedPng cairoSquare = cairoPdf, ownSquare = ownPdf;
    const std::size_t bandPixels = std::size_t(band) * 500;
    cairoSquare.rgb.erase(cairoSquare.rgb.begin(), cairoSquare.rgb.begin() + long(bandPixels));
    ownSquare.rgb.erase(ownSquare.rgb.begin(), ownSquare.rgb.begin() + long(bandPixels));
    EXPECT_LT(Differing(cairoSquare, ownSquare), 600);
    // The title's inked columns, first and last: the same middle.
    auto middle = [band](const DecodedPng& png) {
        int first = 500, last = -1;
        for (int r = 0; r < band; ++r)
            for (int c = 0; c < 500; ++c)
                if (png.Grey(c, r) < 160) {
                    first = std::min(first, c);
                    last = std::max(last, c);
                }
        return (first + last) / 2.0;
    };
    EXPECT_NEAR(middle(ownPdf), middle(cairoPdf), 3.0);
    EXPECT_GT(middle(ownPdf), 0.0);
}

}   // namespace
