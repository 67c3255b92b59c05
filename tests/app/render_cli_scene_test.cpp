// vexilon-render --scene: a session's scene drawn to the same bytes the session saves, at --size;
// a malformed or conflicting one refused in one line with status 2.
#include <fstream>
#include <iterator>

#include <gtest/gtest.h>

#include "cli_run_support.h"
#include "session/scene_session.h"
#include "temp_folder.h"

namespace {

std::string FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(RenderCliScene, DrawsTheSessionsPictureAtAnySize)
{
    SurfaceRegistry surfaces;
    OwnSurfaces own(surfaces);
    ViewSession session(surfaces, nullptr);
    SurfaceDefinition mine;
    mine.xyz = {"cos(u)*(a+v)", "sin(u)*(a+v)", "v^2"};
    mine.u = {"0", "2*pi", 20};
    mine.v = {"-1", "1", 9};
    mine.params = {{"a", 2.0}};
    const SurfaceKind kinds[] = {surfaces.FindId("paraboloide")->number, own.Accept(mine)};
    TempFolder folder("scene");
    for (const SurfaceKind kind : kinds) {
        session.ChooseSurface(kind);
        session.PressButton({0, 0});
        session.MoveCursor({37, -81});
        session.ReleaseButton();
        session.Wheel(-2 * kWheelNotch);
        ASSERT_TRUE(session.SetParameter(kind == kinds[0] ? "b" : "a", 0.7));
        FrameStyle style;
        style.hiddenLines = true;
        style.depthCue = kind == kinds[1];
        style.parallel = kind == kinds[0];
        style.theme = Theme::Proyector;
        style.lineWidth = 2;
        session.SetStyle(style);
        session.SetSectionAxis(kind == kinds[0] ? std::optional(SectionAxis::Z) : std::nullopt);
        session.SetSectionStep(130);
        const std::string text = EncodeScene(*SceneOf(session));
        for (const int size : {500, 321}) {
            std::string error;
            ASSERT_TRUE(session.SaveFrame((folder / "session.png").string(), error, size)) << error;
            const Result r = RunCli({"--scene", "#" + text, "--size", std::to_string(size), "-o", (folder / "cli.png").string()});
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(FileBytes(folder / "cli.png"), FileBytes(folder / "session.png")) << text << " at " << size;
        }
    }
}

TEST(RenderCliScene, AMalformedOrConflictingSceneIsRefusedInOneLine)
{
    const std::string good = "v=1&s=toro&eye=1,2,3&tgt=0,0,0&up=0,0,1&zoom=50";
    const std::vector<std::vector<std::string>> cases = {
        {"--scene", "v=1&s=toro&zoom=50", "-o", "x.png"},
        {"--scene", "v=1&s=nada&eye=1,2,3&tgt=0,0,0&up=0,0,1&zoom=50", "-o", "x.png"},
        {"--scene", good, "-s", "toro", "-o", "x.png"},
        {"--scene", good, "--hidden", "-o", "x.png"},
        {"--scene", good, "--zoom", "3", "-o", "x.png"},
        {"--scene", good + "&corte=q:1", "-o", "x.png"},
        {"--scene", good, "--section", "z=0", "-o", "x.png"},
    };
    for (const auto& args : cases) {
        const Result r = RunCli(args);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_EQ(r.err.rfind("vexilon-render: ", 0), 0u) << r.err;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
}

}   // namespace
