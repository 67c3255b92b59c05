// Random formulas, ranges, parameters and TOML fed to the parsers and to the command line, from a
// fixed seed so that a failure comes back the same: every outcome is a clean success or refusal.
#include "cli_run_support.h"
#include "safe_write_support.h"
#include "surfaces/definitions_file.h"
#include "surfaces/expression.h"
#include "surfaces/typed_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>

// The page's C functions for its user's surfaces, built natively here.
extern "C" {
const char* vx_start(const char* ownText);
const char* vx_import(const char* text);
const char* vx_own_text();
}

namespace {

using namespace safe_write_test;

constexpr unsigned kSeed = 20261208;

class Fuzzer {
public:
    explicit Fuzzer(unsigned seed) : m_random(seed) {}

    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(m_random); }

    template <size_t N>
    std::string Pick(const char* const (&choices)[N])
    {
        return choices[Below(N)];
    }

    std::string Formula()
    {
        static constexpr const char* kTokens[] = {
            "u", "v", "pi", "e", "a", "b", "1", "2.5", "1e308", "-", "+", "*", "/", "^", "(", ")", "(", ")",
            ",", "sin(", "cos(", "atan2(", "mod(", "pow(", "sqrt(", "max(", "sum(", "?", ":", "<", "x", "#",
            "\x1b", "\n", "\xff", "\xc3\xa9", "0/0", "'", "\\", " ", "1e-320", "ln(", "floor("};
        std::string text;
        const size_t tokens = Below(40);
        for (size_t i = 0; i < tokens; ++i)
            text += Pick(kTokens);
        if (Below(20) == 0)
            text = std::string(Below(3) == 0 ? kMaxFormulaNesting + 1 : 30, '(') + text;
        if (Below(30) == 0)
            while (text.size() <= static_cast<size_t>(kMaxFormulaLength))
                text += "+u";
        return text;
    }

    std::string Bound()
    {
        static constexpr const char* kBounds[] = {"0", "1", "-1", "2*pi", "-pi/2", "1e308", "-1e308", "a", "u", "", "x", "0/0"};
        return Below(4) == 0 ? Formula() : Pick(kBounds);
    }

    std::string Count()
    {
        static constexpr const char* kCounts[] = {"1", "2", "3", "25", "61", "1000", "1001", "10001", "0", "-1", "x", "2147483648"};
        return Pick(kCounts);
    }

    std::string Range()
    {
        if (Below(2) == 0)
            return "0,1," + Count();
        return Bound() + "," + Bound() + (Below(3) == 0 ? "" : "," + Count());
    }

    std::string Param()
    {
        static constexpr const char* kNames[] = {"a", "b", "pi", "a\nb", "u", "1a", "a_b", "sin", "\x1b[2J", ""};
        static constexpr const char* kValues[] = {"1", "2.5", "nan", "inf", "1e309", "-0", "", "x"};
        return Pick(kNames) + (Below(8) == 0 ? "" : "=") + Pick(kValues);
    }

    // A --let, a --sweep, a --title: names and texts good and hostile.
    std::string Let() { return Pick({"m", "m2", "u", "a", "sin", "m\n"}) + "=" + (Below(2) == 0 ? "u+a" : Formula()); }
    std::string Sweep()
    {
        static constexpr const char* kEnds[] = {"0", "1", "-1", "1e308", "-1e308", "1.7e308", "-1.7e308", "nan", "pi", "a"};
        return Pick({"a", "q", "u", ""}) + "=" + Pick(kEnds) + (Below(8) == 0 ? "" : ":") + Pick(kEnds);
    }
    std::string Title()
    {
        static constexpr const char* kTitles[] = {"Toro", "\u202etoro", "a\u2066b\u2069", "x\u2028y", "\xef\xbf\xbe", "\xef\xbf\xbf",
                                                  "\x1b[2J", "tab\t", "\xff", "\xc2\x85", "\u200f", "$x^2$", "θ ∈ ℝ", ""};
        std::string title = Pick(kTitles);
        if (Below(10) == 0)
            title = std::string(Below(2) == 0 ? 200 : 201, 'a') + title;
        return title;
    }

    // A TOML text: entries good, bad and broken, with keys and values from the lists.
    std::string Toml()
    {
        static constexpr const char* kIds[] = {"\"mia\"", "\"Mia\"", "\"formulas\"", "\"evil\\u001b[2J\\n\"", "\"12\"", "3", "\"\"", "\"a b\""};
        static constexpr const char* kStrays[] = {"[[surface]", "x = ", "= 1", "\"\\u0000\"", "[surface]", "params = 3",
                                                  "u = [0, 1]", "samples = 0", "fit = \"no\"", "\x01", "\xff\xfe"};
        std::string text;
        const size_t entries = Below(4);
        for (size_t i = 0; i < entries; ++i) {
            text += "[[surface]]\n";
            if (Below(8) != 0)
                text += "id = " + Pick(kIds) + "\n";
            if (Below(8) != 0)
                text += "caption = \"Mía\"\n";
            for (const char* key : {"x", "y", "z"})
                if (Below(10) != 0)
                    text += std::string(key) + " = \"" + Escaped(Formula()) + "\"\n";
            for (const char* key : {"u", "v"})
                if (Below(10) != 0)
                    text += std::string(key) + " = [\"" + Escaped(Bound()) + "\", \"" + Escaped(Bound()) + "\", " + Count() + "]\n";
            if (Below(3) == 0)
                text += "params = { a = 1, b = " + Count() + " }\n";
            else if (Below(4) == 0)   // a slider's range, sometimes wider than a number holds
                text += "params = { a = [" + Pick({"0", "-1.7e308", "1"}) + ", " + Pick({"1", "1.7e308", "0"}) + ", 0.5] }\n";
            if (Below(5) == 0)
                text += "let = { m = \"" + Escaped(Formula()) + "\", \"\u202em\" = \"u\" }\n";
            if (Below(6) == 0)
                text += Pick(kStrays) + "\n";
        }
        return text;
    }

private:
    static std::string Escaped(const std::string& text)
    {
        std::string out;
        for (const char c : text) {
            if (c == '"' || c == '\\')
                out += '\\';
            out += static_cast<unsigned char>(c) < 0x20 ? "\\u001b" : std::string(1, c);
        }
        return out;
    }

    std::mt19937 m_random;
};

bool Printable(const std::string& message)
{
    return message.size() < 600 && std::none_of(message.begin(), message.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
    });
}

TEST(Fuzz, TheParsersSayEveryProblemInOneShortPrintableLine)
{
    Fuzzer fuzz(kSeed);
    for (int round = 0; round < 4000; ++round) {
        SCOPED_TRACE("seed " + std::to_string(kSeed) + ", round " + std::to_string(round));
        FormulaProblem problem;
        ::Formula formula;
        const std::string text = fuzz.Formula();
        if (!formula.Compile(text, {{"a", 1.0}, {"b", 2.0}}, problem)) {
            EXPECT_TRUE(Printable(problem.english)) << problem.english;
            EXPECT_TRUE(Printable(problem.spanish)) << problem.spanish;
        } else {
            formula.At(0.5, -0.5);   // any value, NaN included, without a sanitizer's report
        }
        if (!EvaluateConstant(fuzz.Bound(), {{"a", 1.0}}, problem)) {
            EXPECT_TRUE(Printable(problem.english)) << problem.english;
        }

        const DefinitionsRead read = ParseDefinitions(fuzz.Toml(), "f.toml");
        for (const FileProblem& p : read.problems) {
            EXPECT_TRUE(Printable(p.English())) << p.English();
            EXPECT_TRUE(Printable(p.Spanish())) << p.Spanish();
        }
        for (const SurfaceDefinition& def : read.surfaces) {
            DefinitionProblem checked;
            EXPECT_TRUE(CheckDefinition(def, checked)) << checked.what.english;
        }
    }
}

TEST(Fuzz, ThePagesImportAddsWholeFilesOrKeepsTheUsersAndSaysWhyInSpanishLines)
{
    fs::create_directories(VEXILON_PAGE_ROOT);
    vx_start("");
    Fuzzer fuzz(kSeed + 2);
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE("seed " + std::to_string(kSeed + 2) + ", round " + std::to_string(round));
        const std::string before = vx_own_text();
        std::string text = fuzz.Toml();
        const bool huge = fuzz.Below(40) == 0;
        if (huge)
            text += "#" + std::string(kMaxDefinitionsFileBytes, 'x') + "\n";
        text = text.c_str();   // as the page hands it over
        const std::string answer = vx_import(text.c_str()), after = vx_own_text();
        ASSERT_EQ(answer.rfind("{\"added\":", 0), 0u) << answer;
        const long added = std::strtol(answer.c_str() + std::strlen("{\"added\":"), nullptr, 10);
        EXPECT_TRUE(std::none_of(answer.begin(), answer.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; }));
        EXPECT_EQ(after, added == 0 ? before : before.empty() ? text : before + "\n" + text);
        EXPECT_LE(static_cast<long long>(after.size()), kMaxDefinitionsFileBytes);
        if (huge) {
            EXPECT_NE(answer.find("ocupa más de 16 MB"), std::string::npos) << answer.substr(0, 300);
        }
    }
}

TEST(Fuzz, TheCommandLineEndsCleanlyWithOneLineMessagesAndNothingHalfWritten)
{
    TempDir dir;
    Fuzzer fuzz(kSeed + 1);
    static constexpr const char* kLooks[] = {"--hidden", "--depth-cue", "--anaglyph", "--parallel", "--no-fit", "--swap-eyes"};
    static constexpr const char* kViews[] = {"--zoom", "--distance", "--orbit", "--eye", "--line-width", "--samples", "--families", "-s"};
    static constexpr const char* kValues[] = {"0", "100", "1e9", "-1", "4", "5", "20,-7", "1e308,0,0", "uv", "u", "toro", "formulas", "x\x1b", ""};
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE("seed " + std::to_string(kSeed + 1) + ", round " + std::to_string(round));
        std::vector<std::vector<std::string>> groups;   // an option with its value, shuffled as one
        const size_t kind = fuzz.Below(3);
        if (kind == 0) {
            for (const char* option : {"--x", "--y", "--z"})
                if (fuzz.Below(8) != 0)
                    groups.push_back({option, fuzz.Below(2) == 0 ? "u*v" : fuzz.Formula()});
            for (const char* option : {"--u", "--v"})
                if (fuzz.Below(8) != 0)
                    groups.push_back({option, fuzz.Range()});
            for (size_t i = fuzz.Below(3); i > 0; --i)
                groups.push_back({"--param", fuzz.Param()});
            for (size_t i = fuzz.Below(3); i > 0; --i)
                groups.push_back({"--let", fuzz.Let()});
            if (fuzz.Below(4) == 0)
                groups.push_back({"--sweep", fuzz.Sweep(), "--frames", fuzz.Pick({"2", "3", "0"})});
        } else if (kind == 1) {
            std::ofstream(dir / "mine.toml", std::ios::binary) << fuzz.Toml();
            groups.push_back({"--define", dir / "mine.toml"});
        } else {
            groups.push_back({"-s", fuzz.Below(2) == 0 ? "toro" : fuzz.Pick(kValues)});
        }
        for (size_t i = fuzz.Below(4); i > 0; --i)
            groups.push_back({fuzz.Pick(kLooks)});
        for (size_t i = fuzz.Below(3); i > 0; --i)
            groups.push_back({fuzz.Pick(kViews), fuzz.Pick(kValues)});
        if (fuzz.Below(4) == 0)
            groups.push_back({"--title", fuzz.Title()});
        if (fuzz.Below(6) == 0)
            groups.push_back({"--size", fuzz.Pick({"100", "250", "99", "8193", "1e3", "x", ""})});
        if (fuzz.Below(6) == 0)
            groups.push_back({"--theme", fuzz.Pick({"papel", "proyector", "pantalla", "Papel", "\u202epapel", ""})});
        std::shuffle(groups.begin(), groups.end(), std::mt19937(static_cast<unsigned>(round)));
        std::vector<std::string> args;
        for (const std::vector<std::string>& group : groups)
            args.insert(args.end(), group.begin(), group.end());
        // Frames of a sweep go to one GIF, so that a refusal can be seen to leave no file.
        const bool frames = std::find(args.begin(), args.end(), "--frames") != args.end();
        const std::string out = dir / (frames ? "out.gif" : "out.png");
        args.insert(args.end(), {"-o", out});
        const Result r = RunCli(args);
        EXPECT_TRUE(r.status == 0 || r.status == 1 || r.status == 2) << r.status;
        EXPECT_LE(std::count(r.err.begin(), r.err.end(), '\n'), 3) << r.err;
        EXPECT_LT(r.err.size(), 800u) << r.err;
        EXPECT_TRUE(std::none_of(r.err.begin(), r.err.end(), [](char c) {
            return c != '\n' && (static_cast<unsigned char>(c) < 0x20 || c == 0x7f);
        })) << r.err;
        EXPECT_EQ(r.err.find("\u202e"), std::string::npos) << r.err;   // nor a character of text direction
        EXPECT_EQ(r.err.find("\u2028"), std::string::npos) << r.err;
        EXPECT_EQ(fs::exists(out), r.status == 0) << r.err;
        fs::remove(out);
    }
}

}   // namespace
