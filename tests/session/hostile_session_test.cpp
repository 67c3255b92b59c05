// The user's own surfaces against hostile files and heavy definitions: problems said once and
// short, repeated ids told, the preview's sampling reused when a surface is accepted.
#include "session/own_surfaces.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

class HostileSessionTest : public ::testing::Test {
protected:
    TempFolder       dir{"hostile-own"};
    fs::path         file = dir / "superficies.toml";
    SurfaceRegistry  surfaces;
};

TEST_F(HostileSessionTest, AnAcceptedSurfaceIsDrawnFromThePreviewsSamplingNotSampledAgain)
{
    OwnSurfaces own(surfaces);
    own.Load(file.string());
    SurfaceDefinition def;
    def.caption = "Pesada";
    def.xyz = {"u", "v", "u*v"};
    def.u = {"0", "1", 3};
    def.v = {"0", "1", 3};
    Wireframe preview;   // unlike what sampling gives: only a reused one can be it
    preview.xs = {7.0};
    preview.ys = {8.0};
    preview.zs = {9.0};
    const SurfaceKind chosen = own.Accept(def, std::make_shared<const Wireframe>(preview));
    EXPECT_EQ(surfaces.WireframeOf(chosen).zs, preview.zs);
    EXPECT_EQ(surfaces.Find(chosen)->id, kAcceptedId);
}

TEST_F(HostileSessionTest, ALinkLoopARepeatedIdAndManyProblemsAreToldInBoundedSize)
{
    fs::create_symlink(dir / "b.toml", file);
    fs::create_symlink(file, dir / "b.toml");
    {
        OwnSurfaces own(surfaces);
        const std::vector<FileProblem> problems = own.Load(file.string());
        ASSERT_FALSE(problems.empty());
        EXPECT_EQ(problems.back().Spanish(), file.string() + ": sus enlaces simbólicos forman un bucle");
    }
    fs::remove(file);
    std::ofstream(file) << "[[surface]]\nid = \"mia\"\ncaption = \"A\"\nx = \"u\"\ny = \"v\"\nz = \"u\"\nu = [0, 1, 3]\nv = [0, 1, 3]\n"
                           "[[surface]]\nid = \"Mia\"\ncaption = \"B\"\nx = \"u\"\ny = \"v\"\nz = \"v\"\nu = [0, 1, 3]\nv = [0, 1, 3]\n";
    SurfaceRegistry again;
    OwnSurfaces own(again);
    const std::vector<FileProblem> problems = own.Load(file.string());
    ASSERT_EQ(own.Saved().size(), 1u);
    EXPECT_EQ(own.Saved()[0].caption, "A");
    ASSERT_FALSE(problems.empty());
    EXPECT_EQ(problems.back().Spanish(), file.string() + ", línea 9: superficie «Mia»: el id «Mia» está repetido; se conserva la primera");

    std::vector<FileProblem> many(12, problems.back());
    const std::string summary = SpanishSummary(many, kProblemsShown);
    EXPECT_EQ(std::count(summary.begin(), summary.end(), '\n'), 6);
    EXPECT_NE(summary.find("\ny 7 más\n"), std::string::npos) << summary;
}

}   // namespace
