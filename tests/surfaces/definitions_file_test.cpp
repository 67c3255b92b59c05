// Definitions files and the gallery: reading, every problem with its line, writing, every entry.
#include "geometry/view_changes.h"
#include "render/frame.h"
#include "render/recording_canvas.h"
#include "surfaces/definitions_file.h"
#include "surfaces/gallery.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace {

constexpr char kGood[] = R"toml([[surface]]
id = "cono2"
caption = "Cono doble"
x = "a*v*cos(u)"
y = "v*sin(u)"
z = "v"
u = [0, "2*pi", 13]
v = [-1, 1.5, 5]
samples = 33
families = "u"
fit = false
params = { a = 2 }

[[surface]]
id = "plano"
caption = "Plano"
x = "u"
y = "v"
z = "0"
u = [0, 1, 3]
v = [0, 1, 3]
)toml";

std::string FirstProblem(const std::string& text)
{
    const DefinitionsRead read = ParseDefinitions(text, "mias.toml");
    return read.problems.empty() ? "" : read.problems.front().English();
}

TEST(DefinitionsFile, ReadsEveryKeyWithItsDefaults)
{
    const DefinitionsRead read = ParseDefinitions(kGood, "mias.toml");
    ASSERT_TRUE(read.problems.empty()) << read.problems.front().English();
    ASSERT_EQ(read.surfaces.size(), 2u);
    const SurfaceDefinition& cone = read.surfaces[0];
    EXPECT_EQ(cone.id, "cono2");
    EXPECT_EQ(cone.caption, "Cono doble");
    EXPECT_EQ(cone.xyz[0], "a*v*cos(u)");
    EXPECT_EQ(cone.u.to, "2*pi");
    EXPECT_EQ(cone.u.lines, 13);
    EXPECT_EQ(cone.v.from, "-1");
    EXPECT_EQ(cone.v.to, "1.5");
    EXPECT_EQ(cone.samples, 33);
    EXPECT_EQ(cone.families, Families::U);
    EXPECT_FALSE(cone.fit);
    EXPECT_EQ(cone.params, (std::vector<NamedValue>{{"a", 2.0}}));
    EXPECT_EQ(read.lines, (std::vector<int>{1, 14}));
    const SurfaceDefinition& plane = read.surfaces[1];
    EXPECT_EQ(plane.samples, kDefaultSamples);
    EXPECT_EQ(plane.families, Families::UV);
    EXPECT_TRUE(plane.fit);
}

TEST(DefinitionsFile, AProblemNamesTheSurfaceTheKeyAndTheLine)
{
    auto with = [](const std::string& from, const std::string& to) {
        std::string text = kGood;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    EXPECT_EQ(FirstProblem(with("x = \"a*v*cos(u)\"\n", "")), "mias.toml:1: surface 'cono2': key 'x' is missing");
    EXPECT_EQ(FirstProblem(with("samples = 33", "samples = \"33\"")),
              "mias.toml:9: surface 'cono2': 'samples' must be a whole number of at least 1");
    EXPECT_EQ(FirstProblem(with("z = \"v\"", "z = 3")), "mias.toml:6: surface 'cono2': key 'z' must be a string");
    EXPECT_EQ(FirstProblem(with("u = [0, \"2*pi\", 13]", "u = [0, 13]")),
              "mias.toml:7: surface 'cono2': 'u' must be [START, END, LINES]");
    EXPECT_EQ(FirstProblem(with("families = \"u\"", "families = \"w\"")),
              "mias.toml:10: surface 'cono2': 'families' must be some of u, v, x, y, z, each once, e.g. \"uv\" or \"z\"");
    EXPECT_EQ(FirstProblem(with("fit = false", "fit = 0")), "mias.toml:11: surface 'cono2': 'fit' must be true, false, \"uniform\", \"box\" or \"none\"");
    EXPECT_EQ(FirstProblem(with("fit = false", "fits = false")), "mias.toml:11: surface 'cono2': unknown key 'fits'");
    EXPECT_EQ(FirstProblem(with("a*v*cos(u)", "a*v*cos(u")).rfind("mias.toml:4: surface 'cono2': x: the formula ends too soon", 0), 0u);
    EXPECT_EQ(FirstProblem(with("params = { a = 2 }", "params = { b = 2 }")).rfind("mias.toml:4: surface 'cono2': x: unknown name", 0), 0u);
    EXPECT_EQ(FirstProblem(with("id = \"cono2\"", "id = \"12\"")).rfind("mias.toml:2: surface '12': the id must", 0), 0u);
    EXPECT_EQ(FirstProblem("[[surface]]\nid = \"a\"\ncaption = \"b\nx = 1"), FirstProblem("[[surface]]\nid = \"a\"\ncaption = \"b\nx = 1"));
    EXPECT_EQ(FirstProblem("[[surface]]\nid = \"a\"\ncaption = \"b\nx = 1").rfind("mias.toml:3: not valid TOML", 0), 0u);
    EXPECT_EQ(FirstProblem("title = 1\n"), "mias.toml: no [[surface]] tables found");
}

TEST(DefinitionsFile, ABadEntryIsLeftOutAndTheOthersKept)
{
    std::string text = kGood;
    text.replace(text.find("samples = 33"), 12, "samples = 0");
    const DefinitionsRead read = ParseDefinitions(text, "mias.toml");
    ASSERT_EQ(read.problems.size(), 1u);
    ASSERT_EQ(read.surfaces.size(), 1u);
    EXPECT_EQ(read.surfaces[0].id, "plano");
    EXPECT_NE(read.problems[0].Spanish().find("mias.toml, línea 9: superficie «cono2»"), std::string::npos);
}

TEST(DefinitionsFile, WrittenTextReadsBackTheSameEvenWithQuotesAndBackslashes)
{
    DefinitionsRead read = ParseDefinitions(kGood, "mias.toml");
    read.surfaces[1].caption = "Plano \"raro\" \\ # con ñ";
    read.surfaces[1].xyz[2] = "0*u + 0*v";
    const DefinitionsRead again = ParseDefinitions(DefinitionsText(read.surfaces), "again.toml");
    ASSERT_TRUE(again.problems.empty()) << again.problems.front().English();
    ASSERT_EQ(again.surfaces.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        const SurfaceDefinition &a = read.surfaces[i], &b = again.surfaces[i];
        EXPECT_EQ(a.id, b.id);
        EXPECT_EQ(a.caption, b.caption);
        EXPECT_EQ(a.xyz, b.xyz);
        EXPECT_EQ(a.u.from, b.u.from);
        EXPECT_EQ(a.u.to, b.u.to);
        EXPECT_EQ(a.v.lines, b.v.lines);
        EXPECT_EQ(a.samples, b.samples);
        EXPECT_EQ(a.families, b.families);
        EXPECT_EQ(a.fit, b.fit);
        EXPECT_EQ(a.params, b.params);
    }
}

TEST(DefinitionsFile, TakenIdsAreProblemsWithTheirLine)
{
    SurfaceRegistry registry;
    const DefinitionsRead read = ParseDefinitions(std::string(kGood) + R"toml(
[[surface]]
id = "Toro"
caption = "Otro toro"
x = "u"
y = "v"
z = "0"
u = [0, 1, 3]
v = [0, 1, 3]
)toml", "mias.toml");
    std::vector<FileProblem> problems;
    const std::vector<SurfaceKind> added = AddDefinitions(registry, read, "mias.toml", problems);
    EXPECT_EQ(added, (std::vector<SurfaceKind>{9, 10}));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].English(), "mias.toml:23: surface 'Toro': the id 'Toro' is already taken");
    EXPECT_GT(registry.WireframeOf(9).Size(), 0u);
}

TEST(Gallery, EveryEntryReadsDrawsAndStaysInsideTheSquareAtItsFirstView)
{
    SurfaceRegistry registry;
    const GalleryState& gallery = LoadGallery(registry);
    ASSERT_TRUE(gallery.problems.empty()) << gallery.problems.front().English();
    ASSERT_GE(gallery.last - kBuiltinSurfaceCount, 24);
    std::set<std::string> ids, captions;
    for (SurfaceKind n = 1; n <= kBuiltinSurfaceCount; ++n)
        captions.insert(registry.Find(n)->caption);
    for (SurfaceKind n = kBuiltinSurfaceCount + 1; n <= gallery.last; ++n) {
        const SurfaceEntry* entry = registry.Find(n);
        ASSERT_NE(entry, nullptr);
        ids.insert(entry->id);
        // "Otra:" lists captions: two alike could not be told apart.
        EXPECT_TRUE(captions.insert(entry->caption).second) << entry->caption;
        const Wireframe& wire = registry.WireframeOf(n);
        EXPECT_GT(wire.triangles.size(), 0u) << entry->id;
        ViewState view;
        ResetViewState(view);
        view.surface = n;
        RecordingCanvas canvas;
        DrawFrame(BeginFrame(view, wire), wire, canvas);
        int lines = 0;
        for (const CanvasCall& call : canvas.calls)
            if (call.op == CanvasCall::Op::LineTo) {
                ++lines;
                EXPECT_TRUE(call.p.col >= 0 && call.p.col <= 499 && call.p.row >= 0 && call.p.row <= 499)
                    << entry->id << " " << call.p.col << "," << call.p.row;
            }
        EXPECT_GT(lines, 100) << entry->id;
    }
    for (const char* id : {"klein", "boy", "romana", "gorro-cruzado", "enneper", "catenoide", "helicoide", "scherk",
                           "dini", "kuen", "hiperboloide1", "hiperboloide2", "elipsoide", "paraboloide", "silla-mono",
                           "cono", "cilindro", "whitney", "plucker", "concha", "trebol", "cupula-bohemia"})
        EXPECT_EQ(ids.count(id), 1u) << id;
}

TEST(Gallery, IsFoundThroughTheEnvironmentFirst)
{
    const char* saved = std::getenv("VEXILON_GALLERY");
    const std::string keep = saved ? saved : "";
    setenv("VEXILON_GALLERY", "/nowhere/gallery.toml", 1);
    EXPECT_EQ(GalleryPath(), "/nowhere/gallery.toml");
    const DefinitionsRead read = ReadDefinitionsFile(GalleryPath());
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems[0].English(), "/nowhere/gallery.toml: cannot be read: No such file or directory");
    unsetenv("VEXILON_GALLERY");
    EXPECT_NE(GalleryPath().find("gallery.toml"), std::string::npos);
    if (saved)
        setenv("VEXILON_GALLERY", keep.c_str(), 1);
}

}   // namespace
