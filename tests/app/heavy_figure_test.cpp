// The heaviest vector files are refused before anything is drawn, and nothing ordinary is.
#include "cli_run_support.h"
#include "export/figure_work.h"
#include "session/own_surfaces.h"
#include "session/view_session.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(HeavyFigures, AVectorFileOverItsWorkIsRefusedInOneLineAndNothingWritten)
{
    TempFolder folder("heavy");
    // 2 million points, the most a surface may have; each frame's SVG at width 4 holds 8 pieces a
    // segment, each eye's.
    const std::vector<std::string> surface = {"--x", "u", "--y", "v", "--z", "u*v", "--u", "0,1,1000",
                                              "--v", "0,1,1000", "--samples", "1000"};
    std::vector<std::string> args = surface;
    args.insert(args.end(), {"--hidden", "--anaglyph", "--depth-cue", "--line-width", "4", "-o", (folder / "f.svg").string()});
    const Result r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vexilon-render: the picture is too heavy for a vector file: 32000000 pieces of lines; accepted: at "
                     "most 6000000 (fewer lines or samples, one eye, no dashes, thinner lines, or PNG)\n");
    args = surface;
    args.insert(args.end(), {"--size", "8192", "--hidden=dashed", "--anaglyph", "-o", (folder / "f.pdf").string()});
    EXPECT_EQ(RunCli(args).status, 2);
    EXPECT_EQ(folder.Entries(), 0u);

    // Every surface of the program and the gallery stays accepted in every style and format.
    SurfaceRegistry surfaces;
    OwnSurfaces own(surfaces);
    ASSERT_GT(surfaces.Count(), kBuiltinSurfaceCount);
    FrameStyle wide, dashed;
    wide.anaglyph = dashed.anaglyph = dashed.hiddenLines = dashed.dashedHidden = true;
    wide.lineWidth = kLineWidthMax;
    dashed.size = kPictureSizeMax;
    for (const SurfaceEntry* entry : surfaces.Entries())
        for (const OutputFormat format : {OutputFormat::Svg, OutputFormat::Trace, OutputFormat::Pdf})
            for (const FrameStyle& style : {wide, dashed})
                EXPECT_TRUE(WithinFigureWork(surfaces.WireframeOf(entry->number), style, format)) << entry->id;

    // The window's and the page's save refuse the same in Spanish; a PNG of it is still made.
    SurfaceDefinition plane;
    plane.xyz = {"u", "v", "u*v"};
    plane.u = plane.v = {"0", "1", 1000};
    plane.samples = 1000;
    ViewSession session(surfaces, nullptr);
    session.ChooseSurface(own.Accept(plane));
    FrameStyle heavy;
    heavy.lineWidth = 4;
    session.SetStyle(heavy);
    std::string error;
    EXPECT_FALSE(session.SaveFrame((folder / "s.svg").string(), error, 500));
    EXPECT_EQ(error.rfind("la imagen es demasiado pesada para un archivo vectorial: 16000000 trozos", 0), 0u) << error;
    EXPECT_EQ(folder.Entries(), 0u);
    EXPECT_TRUE(session.SaveFrame((folder / "s.png").string(), error, 500)) << error;
}

}   // namespace
