// The user's own surfaces without a window: ids, accepting, saving and reading their file.
#include "session/own_surfaces.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "session/definition_rules.h"
#include "surfaces/gallery.h"

namespace {

namespace fs = std::filesystem;

SurfaceDefinition Plane(const std::string& caption, double a)
{
    SurfaceDefinition def;
    def.caption = caption;
    def.xyz = {"u", "v", "a*u*v"};
    def.u = {"-1", "1", 5};
    def.v = {"-1", "1", 5};
    def.params = {{"a", a}};
    return def;
}

std::string Text(const fs::path& path)
{
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

class OwnSurfacesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("vexilon-own-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        file = dir / "Vexilon" / kOwnSurfacesFile;
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path        dir, file;
    SurfaceRegistry surfaces;
};

TEST(OwnIdFor, LowerCaseAsciiWithoutAccentsMadeUnique)
{
    EXPECT_EQ(OwnIdFor("Huevo alto", {}), "huevo-alto");
    EXPECT_EQ(OwnIdFor("Superficie de Enneper (Ñandú)", {}), "superficie-de-enneper-nandu");
    EXPECT_EQ(OwnIdFor("  Çà  -  Ÿ_ŝ ", {}), "ca-y-s");
    EXPECT_EQ(OwnIdFor("Æsir Ørsted", {}), "sir-rsted") << "letters without an ASCII base are dropped";
    EXPECT_EQ(OwnIdFor("∑∫", {}), "propia");
    EXPECT_EQ(OwnIdFor("2024", {}), "propia-2024");
    EXPECT_EQ(OwnIdFor("Toro", {"toro", "toro-2"}), "toro-3");
    EXPECT_EQ(OwnIdFor("una superficie con un nombre muy largo", {}).size(), 30u);
    EXPECT_EQ(OwnIdFor(std::string("a\xC3") + "b\xE2\x82", {}), "ab") << "broken UTF-8 is skipped, not read past";
}

TEST_F(OwnSurfacesTest, EverySurfaceAcceptedStaysListedAndTheSameOneIsNotAddedTwice)
{
    OwnSurfaces own(surfaces);
    EXPECT_TRUE(own.Load(file.string()).empty());
    const size_t gallery = own.Listed().size();
    std::vector<SurfaceKind> shown;
    for (int k = 0; k < 8; ++k)
        shown.push_back(own.Accept(Plane("Plano " + std::to_string(k), k)));
    ASSERT_EQ(own.Listed().size(), gallery + 8);
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(surfaces.Find(shown[k])->caption, "Plano " + std::to_string(k));
    EXPECT_EQ(own.Accept(Plane("Plano 3", 3)), shown[3]);
    EXPECT_EQ(own.Listed().size(), gallery + 8);
    EXPECT_EQ(own.StartingDefinition(kTorus).caption, "Plano 7") << "the dialog goes on from the last accepted";
    EXPECT_FALSE(fs::exists(file)) << "accepting saves nothing";
}

TEST_F(OwnSurfacesTest, TheAcceptedSurfaceIsShownWhateverIsSavedUnderItsName)
{
    OwnSurfaces own(surfaces);
    own.Load(file.string());
    std::string error;
    ASSERT_TRUE(own.Save(Plane("Mi plano", 0), error)) << error;
    const SurfaceKind saved = own.Accept(Plane("Mi plano", 0));
    EXPECT_EQ(surfaces.Find(saved)->id, "mi-plano") << "the same surface: the saved one";
    const SurfaceKind changed = own.Accept(Plane("Mi plano", 1));
    ASSERT_NE(changed, saved);
    EXPECT_EQ(own.Accepted().back().params, (std::vector<NamedValue>{{"a", 1.0}}));
    DefinitionProblem problem;
    const std::optional<Wireframe> expected = BuildTypedSurface(Plane("Mi plano", 1), problem);
    ASSERT_TRUE(expected);
    EXPECT_EQ(surfaces.WireframeOf(changed).zs, expected->zs);
    EXPECT_NE(surfaces.WireframeOf(saved).zs, expected->zs);
}

TEST_F(OwnSurfacesTest, SavingReplacesTheSameCaptionKeepsABrokenFileAsideAndReadsBackAsWritten)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "[[surface]]\nid = \"rota\"\ncaption = \"Rota\"\nx = \"u\"\ny = \"v\"\nz = \"u*\"\n"
                           "u = [0, 1, 5]\nv = [0, 1, 5]\n";
    const std::string broken = Text(file);
    OwnSurfaces own(surfaces);
    const std::vector<FileProblem> problems = own.Load(file.string());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].file, file.string());
    std::string error;
    ASSERT_TRUE(own.Save(Plane("Mi plano", 0), error)) << error;
    ASSERT_TRUE(own.Save(Plane("Mi plano", 2), error)) << error;
    ASSERT_TRUE(own.Save(Plane("Otro", 1), error)) << error;
    EXPECT_EQ(Text(file.string() + ".anterior"), broken);
    const DefinitionsRead read = ReadDefinitionsFile(file.string());
    ASSERT_TRUE(read.problems.empty());
    ASSERT_EQ(read.surfaces.size(), 2u);
    EXPECT_EQ(read.surfaces[0].id, "mi-plano");
    EXPECT_EQ(read.surfaces[0].params, (std::vector<NamedValue>{{"a", 2.0}}));
    EXPECT_EQ(read.surfaces[1].id, "otro");
    SurfaceRegistry again;
    OwnSurfaces reread(again);
    EXPECT_TRUE(reread.Load(file.string()).empty());
    EXPECT_EQ(reread.Saved().size(), 2u);
    EXPECT_EQ(again.FindId("otro")->number, LoadGallery(again).last + 2);
}

TEST_F(OwnSurfacesTest, AFolderThatCannotBeMadeIsToldAndChangesNothing)
{
    fs::create_directories(dir);
    std::ofstream(dir / "Vexilon") << "a file where the folder should be";
    OwnSurfaces own(surfaces);
    own.Load(file.string());
    const int count = surfaces.Count();
    std::string error;
    EXPECT_FALSE(own.Save(Plane("Mi plano", 0), error));
    EXPECT_NE(error.find("No se pudo"), std::string::npos) << error;
    EXPECT_TRUE(own.Saved().empty());
    EXPECT_EQ(surfaces.Count(), count);
}

TEST_F(OwnSurfacesTest, ACaptionThatNamesNothingIsRefusedBeforeTheFileIsTouched)
{
    OwnSurfaces own(surfaces);
    own.Load(file.string());
    for (const char* caption : {"", " \t "}) {
        EXPECT_EQ(SaveRefusal(Plane(caption, 0)), kCaptionNeeded);
        std::string error;
        EXPECT_FALSE(own.Save(Plane(caption, 0), error));
        EXPECT_EQ(error, kCaptionNeeded);
    }
    EXPECT_EQ(SaveRefusal(Plane("Mi plano", 0)), "");
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(OwnSurfacesTest, AnImportAddsAfterTheSavedKeepsTheAcceptedAndLeavesTheFileWhenNothingIsAdded)
{
    OwnSurfaces own(surfaces);
    own.Load(file.string());
    std::string error;
    ASSERT_TRUE(own.Save(Plane("Mi plano", 0), error)) << error;
    own.Accept(Plane("Aceptado", 1));
    own.Accept(Plane("Aceptado 2", 2));   // "formulas-2": a file may not name "formulas" itself
    const std::string acceptedId = own.Accepted().back().id;
    const std::string kept = Text(file);
    const std::string entry = "[[surface]]\nid = \"%\"\ncaption = \"Importada\"\nx = \"u\"\ny = \"v\"\nz = \"u*v\"\n"
                              "u = [0, 1, 5]\nv = [0, 1, 5]\n";
    auto withId = [&](const std::string& id) { return std::string(entry).replace(entry.find('%'), 1, id); };

    const OwnSurfaces::Imported added = own.Import(withId("importada"));
    EXPECT_EQ(added.added, 1u);
    EXPECT_TRUE(added.problems.empty());
    EXPECT_EQ(Text(file), kept + "\n" + withId("importada"));
    EXPECT_EQ(own.Saved().back().id, "importada");
    ASSERT_NE(surfaces.FindId(acceptedId), nullptr) << "an import keeps what was accepted meanwhile";
    EXPECT_EQ(surfaces.FindId(acceptedId)->caption, "Aceptado 2");

    const std::string before = Text(file);
    const OwnSurfaces::Imported clash = own.Import(withId(acceptedId));
    EXPECT_EQ(clash.added, 0u);
    ASSERT_FALSE(clash.problems.empty());
    EXPECT_NE(clash.problems.back().Spanish().find("id ya está en uso"), std::string::npos) << clash.problems.back().Spanish();
    EXPECT_EQ(Text(file), before);
    EXPECT_EQ(own.Saved().size(), 2u);

    const OwnSurfaces::Imported unreadable = own.Import("[[surface]]\nid = \"roto\"\n");
    EXPECT_EQ(unreadable.added, 0u);
    EXPECT_FALSE(unreadable.problems.empty());
    EXPECT_EQ(Text(file), before);
}

TEST_F(OwnSurfacesTest, AnImportOfNothingReadableMakesNoFile)
{
    OwnSurfaces own(surfaces);
    own.Load(file.string());
    EXPECT_FALSE(own.Import("no es una definición").problems.empty());
    EXPECT_FALSE(fs::exists(file));
}

}   // namespace
