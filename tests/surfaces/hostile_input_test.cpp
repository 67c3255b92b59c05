// Hostile input at the core: saturated coordinates, files that are not definitions files, formulas
// past our limits, control bytes echoed, the typed surface's own id, and caps on the work.
#include "render/recording_canvas.h"
#include "render/stroke_pen.h"
#include "surfaces/definitions_file.h"
#include "surfaces/expression.h"
#include "surfaces/quoted_text.h"
#include "surfaces/registry.h"
#include "surfaces/typed_surface.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include "temp_folder.h"

namespace {

namespace fs = std::filesystem;

// The folder's name says which tests wrote it, should one be left behind; its files named as
// the strings these tests join into command lines.
struct TempDir : TempFolder {
    TempDir() : TempFolder("hostile") {}
    std::string operator/(const std::string& name) const { return (Path() / name).string(); }
};

bool HasControlByte(const std::string& text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

std::string Entry(const std::string& id, const std::string& extra = "")
{
    return "[[surface]]\nid = \"" + id + "\"\ncaption = \"C\"\nx = \"u\"\ny = \"v\"\nz = \"u*v\"\nu = [0, 1, 3]\nv = [0, 1, 3]\n" + extra + "\n";
}

SurfaceDefinition Plane(std::string x = "u")
{
    SurfaceDefinition def;
    def.id = "plano";
    def.caption = "Plano";
    def.xyz = {std::move(x), "v", "0"};
    def.u = {"0", "1", 3};
    def.v = {"0", "1", 3};
    return def;
}

std::string ProblemOf(const SurfaceDefinition& def)
{
    DefinitionProblem problem;
    EXPECT_FALSE(CheckDefinition(def, problem));
    return problem.what.english;
}

TEST(HostileInput, AWideStrokeAtASaturatedPixelStaysSaturatedWithoutOverflow)
{
    // Each pass's offset is added after widening: at INT_MAX and INT_MIN it saturates, never wraps.
    for (const int edge : {INT_MAX, INT_MIN}) {
        RecordingCanvas canvas;
        StrokePen<Canvas> pen(canvas, 3, false);
        pen(Stroke{{edge, 0}, {edge, 10}, Rgb{255, 0, 0}});
        pen(Stroke{{0, edge}, {10, edge}, Rgb{255, 0, 0}});
        for (const CanvasCall& call : canvas.calls) {
            if (call.op != CanvasCall::Op::MoveTo && call.op != CanvasCall::Op::LineTo)
                continue;
            const int far = call.p.col == 0 || call.p.col == 10 ? call.p.row : call.p.col;
            EXPECT_TRUE(edge > 0 ? far >= INT_MAX - 1 : far <= INT_MIN + 1) << far;
        }
    }
}

TEST(HostileInput, OnlyRegularFilesOfBoundedSizeAreRead)
{
    TempDir dir;
    const auto problem = [](const std::string& path) {
        const DefinitionsRead read = ReadDefinitionsFile(path);
        EXPECT_TRUE(read.surfaces.empty()) << path;
        return read.problems.size() == 1 ? read.problems[0].english + " | " + read.problems[0].spanish : std::string("?");
    };
    // A device would be read until memory runs out, a FIFO would wait for a writer for ever.
    EXPECT_EQ(problem("/dev/zero"), "is a device, not a definitions file; accepted: a regular TOML file | "
                                    "es un dispositivo, no un archivo de definiciones; se acepta un archivo TOML normal");
    ASSERT_EQ(mkfifo((dir / "fifo.toml").c_str(), 0600), 0);
    EXPECT_EQ(problem(dir / "fifo.toml"), "is a FIFO, not a definitions file; accepted: a regular TOML file | "
                                          "es una tubería con nombre (FIFO), no un archivo de definiciones; se acepta un archivo TOML normal");
    fs::create_directory(dir / "folder.toml");
    EXPECT_EQ(problem(dir / "folder.toml").substr(0, 11), "is a folder");
    fs::create_symlink("/dev/zero", dir / "zero.toml");
    EXPECT_EQ(problem(dir / "zero.toml").substr(0, 11), "is a device");
    fs::create_symlink("loop-b.toml", dir / "loop-a.toml");
    fs::create_symlink("loop-a.toml", dir / "loop-b.toml");
    EXPECT_NE(problem(dir / "loop-a.toml").find("enlaces simbólicos forman un bucle"), std::string::npos);

    // Past the limit by one byte: refused; at the limit: read (and its content judged).
    {
        std::ofstream(dir / "big.toml") << Entry("grande");
        fs::resize_file(dir / "big.toml", kMaxDefinitionsFileBytes + 1);
    }
    EXPECT_EQ(problem(dir / "big.toml"), "is larger than 16 MB; accepted: a definitions file of at most 16 MB | "
                                         "ocupa más de 16 MB; se aceptan archivos de definiciones de hasta 16 MB");
    {
        std::string text = Entry("justo");
        text.resize(static_cast<size_t>(kMaxDefinitionsFileBytes), ' ');
        std::ofstream(dir / "limit.toml") << text;
    }
    const DefinitionsRead atLimit = ReadDefinitionsFile(dir / "limit.toml");
    EXPECT_TRUE(atLimit.problems.empty());
    ASSERT_EQ(atLimit.surfaces.size(), 1u);
    EXPECT_EQ(atLimit.surfaces[0].id, "justo");
}

TEST(HostileInput, FormulasPastOurLimitsAreRefusedInAFewWords)
{
    FormulaProblem problem;
    Formula formula;
    std::string atLimit = "u";
    while (atLimit.size() + 2 <= static_cast<size_t>(kMaxFormulaLength))
        atLimit += "+u";
    EXPECT_TRUE(formula.Compile(atLimit, {}, problem)) << problem.english;
    EXPECT_FALSE(formula.Compile(atLimit + "+u", {}, problem));
    EXPECT_EQ(problem.english, "the formula is longer than 1000 characters; accepted: at most 1000");

    const std::string deep = std::string(10000, '(') + "u" + std::string(10000, ')');
    EXPECT_FALSE(formula.Compile(deep, {}, problem));
    EXPECT_EQ(problem.english, "parentheses nested deeper than 100 at position 101; accepted: at most 100");
    const std::string nested = std::string(100, '(') + "u" + std::string(100, ')');
    EXPECT_TRUE(formula.Compile(nested, {}, problem)) << problem.english;

    // The library's own errors show a few characters of what it points at, not the rest of the text.
    EXPECT_FALSE(formula.Compile("u+" + std::string(1500, '#'), {}, problem));
    EXPECT_LT(problem.english.size(), 150u) << problem.english;
    EXPECT_FALSE(EvaluateConstant(std::string(kMaxFormulaLength + 1, '1'), {}, problem));
    EXPECT_LT(problem.english.size(), 150u) << problem.english;
}

TEST(HostileInput, EchoedTextsAreOneLineWithoutControlBytes)
{
    FormulaProblem problem;
    Formula formula;
    EXPECT_FALSE(formula.Compile("u+\x1b]0;t\a", {}, problem));
    EXPECT_FALSE(HasControlByte(problem.english)) << problem.english;
    EXPECT_FALSE(HasControlByte(problem.spanish)) << problem.spanish;

    SurfaceDefinition def = Plane();
    def.params = {{"a\nb", 1.0}};
    EXPECT_EQ(ProblemOf(def).substr(0, 7), "'a\\nb' ");

    const DefinitionsRead read = ParseDefinitions(
        Entry("evil\\u001b[2J\\nsecond line") + Entry("ok", "params = { \"p\\u0007q\" = \"x\" }") +
            Entry("ok2", "\"bad\\u0001key\" = 1"), "f.toml");
    ASSERT_EQ(read.problems.size(), 3u);
    for (const FileProblem& p : read.problems) {
        EXPECT_FALSE(HasControlByte(p.English())) << p.English();
        EXPECT_FALSE(HasControlByte(p.Spanish())) << p.Spanish();
    }
    EXPECT_NE(read.problems[0].english.find("'evil\\033[2J\\nsecond line'"), std::string::npos) << read.problems[0].english;
    EXPECT_NE(read.problems[1].english.find("'p\\aq'"), std::string::npos) << read.problems[1].english;
    EXPECT_NE(read.problems[2].english.find("'bad\\001key'"), std::string::npos) << read.problems[2].english;
    // The TOML library's English words stay out of the Spanish message; the common ones are told
    // in Spanish, the rest leave only where.
    const std::pair<const char*, const char*> broken[] = {
        {"[[surface]\n", "f.toml, línea 1: no es TOML válido (columna 11): al leer la cabecera de una tabla, se esperaba «]» y "
                         "hay el final de la línea"},
        {"[[surface]]\nid = \"a\ncaption = 1", "f.toml, línea 2: no es TOML válido (columna 8): al leer una cadena, hay un "
                                              "salto de línea o un carácter de control dentro (¿faltan las comillas de cierre?)"},
        {"[[surface]]\nid = \"a\"\nid = \"b\"", "f.toml, línea 3: no es TOML válido (columna 6): al leer una clave con su "
                                              "valor, «id» ya está definido más arriba"},
        {"[[surface]]\nu = [0, 1", "f.toml, línea 2: no es TOML válido (columna 10): al leer una lista, el archivo se acaba antes "
                                   "de cerrarlo"},
        {"[[surface]]\nid \"a\"", "f.toml, línea 2: no es TOML válido (columna 4): al leer una clave con su valor, se esperaba "
                                 "«=» y hay «\"»"},
        {"[[surface]]\nu = 1x", "f.toml, línea 2: no es TOML válido (columna 6): al leer un número, no se esperaba «x»"},
        {"[[surface]]\nid = \"\\q\"", "f.toml, línea 2: no es TOML válido (columna 8): al leer una cadena, secuencia de escape "
                                   "desconocida «\\q»"},
        // A raw control byte comes back as the library's own escape, never as the byte.
        {"[[surface]]\nid = \"\\u0001\" \x01", "f.toml, línea 2: no es TOML válido (columna 15): al leer una clave con su "
                                            "valor, no se esperaba «\\u0001»"},
    };
    for (const auto& [text, spanish] : broken) {
        const DefinitionsRead read = ParseDefinitions(text, "f.toml");
        ASSERT_EQ(read.problems.size(), 1u) << text;
        EXPECT_EQ(read.problems[0].Spanish(), spanish) << read.problems[0].English();
        EXPECT_FALSE(HasControlByte(read.problems[0].Spanish())) << text;
    }
}

TEST(HostileInput, ExcerptsAreEscapedAndPointAtTheirCharacter)
{
    size_t column = 0;
    EXPECT_EQ(EscapedExcerpt("a\tb", 2, 60, column), "a\\tb");
    EXPECT_EQ(column, 3u);
    const std::string text = std::string(100, 'x') + "ñ#" + std::string(100, 'y');
    const std::string excerpt = EscapedExcerpt(text, 102, 20, column);
    EXPECT_EQ(excerpt, "…xxxxxxxxñ#yyyyyyyyy…");
    EXPECT_EQ(column, 10u);   // the '#', counted in characters after the leading "…"
}

TEST(HostileInput, TheTypedSurfacesIdIsReservedInFiles)
{
    for (const char* id : {"formulas", "FORMULAS"}) {
        const DefinitionsRead read = ParseDefinitions(Entry(id) + Entry("otra"), "f.toml");
        ASSERT_EQ(read.surfaces.size(), 1u);
        EXPECT_EQ(read.surfaces[0].id, "otra");
        ASSERT_EQ(read.problems.size(), 1u);
        EXPECT_EQ(read.problems[0].English(), std::string("f.toml:2: surface '") + id +
                      "': the id 'formulas' is kept for the surface typed as formulas; accepted: any other id");
    }
}

TEST(HostileInput, TheWorkOfOneSurfaceAndOneFileIsCapped)
{
    SurfaceDefinition def = Plane();
    for (int i = 0; i < kMaxParameters + 1; ++i)
        def.params.emplace_back("p" + std::to_string(i), 1.0);
    EXPECT_EQ(ProblemOf(def), "51 parameters; accepted: at most 50");
    def.params.pop_back();
    def.xyz[0] = "u";
    for (const NamedValue& p : def.params)
        def.xyz[0] += "+" + p.first;
    DefinitionProblem problem;
    EXPECT_TRUE(CheckDefinition(def, problem)) << problem.what.english;

    // Long formulas on many samples: the product is what sampling costs.
    std::string sum = "u";
    while (sum.size() < 999)
        sum += "+u";
    def = Plane(sum);
    def.xyz[1] = sum;
    def.u.lines = 1000;
    def.v.lines = 1000;
    def.samples = 1000;
    EXPECT_EQ(ProblemOf(def), "2000000 samples of formulas 1999 characters long; accepted: characters times samples "
                              "at most 200000000, here at most 100050 samples");
    def.samples = 50;
    EXPECT_TRUE(CheckDefinition(def, problem)) << problem.what.english;

    std::string many;
    for (int i = 0; i <= kMaxSurfacesPerFile; ++i)
        many += Entry("s" + std::to_string(i));
    DefinitionsRead read = ParseDefinitions(many, "f.toml");
    EXPECT_EQ(read.surfaces.size(), static_cast<size_t>(kMaxSurfacesPerFile));
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems[0].English(), "f.toml:" + std::to_string(kMaxSurfacesPerFile * 9 + 1) +
                                              ": more than 1000 surfaces; accepted: at most 1000 a file, the rest left out");

    // Long formulas in many entries: the file's formulas together are capped too.
    std::string longOnes;
    const std::string padded = "u" + std::string(998, ' ');   // as long, and quick to check
    const std::string entry = "[[surface]]\nid = \"l\"\ncaption = \"C\"\nx = \"" + padded + "\"\ny = \"" + padded +
                              "\"\nz = \"" + padded + "\"\nu = [0, 1, 3]\nv = [0, 1, 3]\n";
    for (int i = 0; i < 101; ++i)
        longOnes += std::string(entry).replace(entry.find("\"l\""), 3, "\"l" + std::to_string(i) + "\"");
    read = ParseDefinitions(longOnes, "f.toml");
    EXPECT_EQ(read.surfaces.size(), 100u);   // 100 × 2997 characters; the next passes 300,000
    ASSERT_EQ(read.problems.size(), 1u);
    EXPECT_EQ(read.problems[0].english, "the formulas pass 300000 characters in all; accepted: at most 300000 a file, the rest left out");
}

TEST(HostileInput, IdsRemovedFromTheRegistryCanBeAddedAgain)
{
    SurfaceRegistry registry;
    const SurfaceKind first = registry.Add("Extra", "Extra", [] { return Wireframe{}; });
    ASSERT_EQ(first, kBuiltinSurfaceCount + 1);
    EXPECT_EQ(registry.Add("EXTRA", "Otra", [] { return Wireframe{}; }), kSurfaceNone);
    EXPECT_EQ(registry.FindId("extra")->number, first);
    registry.RemoveFrom(first);
    EXPECT_EQ(registry.FindId("extra"), nullptr);
    EXPECT_EQ(registry.Add("extra", "Extra", [] { return Wireframe{}; }), first);
    EXPECT_EQ(registry.FindId("ESFERA")->number, kSphere);   // the eight are never removed
}

}   // namespace
