// Hostile input through the command line: files that are not definitions files, echoed control
// bytes, the typed surface's id taken by a file, caps told, and a GIF onto a hard-linked file.
#include "cli_run_support.h"
#include "export/file_writer.h"
#include "safe_write_support.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace {

using namespace safe_write_test;

// Whether err is messages of one line each, a formula's excerpt and caret at most, no raw control byte.
::testing::AssertionResult Tidy(const std::string& err)
{
    if (std::any_of(err.begin(), err.end(), [](char c) { return c != '\n' && (static_cast<unsigned char>(c) < 0x20 || c == 0x7f); }))
        return ::testing::AssertionFailure() << "a raw control byte in: " << err;
    if (std::count(err.begin(), err.end(), '\n') > 3 || err.size() > 600)
        return ::testing::AssertionFailure() << "too long: " << err;
    return ::testing::AssertionSuccess();
}

std::string Entry(const std::string& id)
{
    return "[[surface]]\nid = \"" + id + "\"\ncaption = \"C\"\nx = \"u\"\ny = \"v\"\nz = \"u*v\"\nu = [0, 1, 3]\nv = [0, 1, 3]\n";
}

const std::vector<std::string> kTyped = {"--x", "10*u", "--y", "10*v", "--z", "u*v", "--u", "-1,1,5", "--v", "-1,1,5"};

std::vector<std::string> Typed(std::vector<std::string> more)
{
    std::vector<std::string> args = kTyped;
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

TEST(HostileCli, DefinitionsFilesThatAreNoFilesAreRefusedAtOnceNamingWhatTheyAre)
{
    TempDir dir;
    ASSERT_EQ(mkfifo((dir / "fifo.toml").c_str(), 0600), 0);
    fs::create_directory(dir / "folder.toml");
    const std::pair<std::string, std::string> cases[] = {
        {"/dev/zero", "is a device"}, {dir / "fifo.toml", "is a FIFO"}, {dir / "folder.toml", "is a folder"}};
    for (const auto& [path, what] : cases) {
        const Result r = RunCli({"--define", path, "-o", dir / "out.png"});
        EXPECT_EQ(r.status, 2) << path;
        EXPECT_EQ(r.err, "vexilon-render: --define: '" + path + "': " + what + ", not a definitions file; accepted: a regular TOML file\n");
    }
    EXPECT_FALSE(fs::exists(dir / "out.png"));
    // The gallery is read by the same rules: the eight are still listed, the problem said.
    const Outcome listed = Shell("VEXILON_GALLERY=/dev/zero " + kProgram + " --list >/dev/null", dir);
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.err, "vexilon-render: gallery: '/dev/zero': is a device, not a definitions file; accepted: a regular TOML file\n");
}

TEST(HostileCli, FormulasPastTheLimitsAndControlBytesGetShortEscapedMessages)
{
    TempDir dir;
    std::string longFormula = "u";
    while (longFormula.size() < 20000)
        longFormula += "+u";
    Result r = RunCli({"--x", longFormula, "--y", "v", "--z", "u", "--u", "0,1", "--v", "0,1", "-o", dir / "o.png"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vexilon-render: --x: the formula is longer than 1000 characters; accepted: at most 1000\n");
    r = RunCli({"--x", std::string(10000, '(') + "u" + std::string(10000, ')'), "--y", "v", "--z", "u", "--u", "0,1", "--v", "0,1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Tidy(r.err));
    EXPECT_EQ(r.err.substr(0, 95), "vexilon-render: --x: parentheses nested deeper than 100 at position 101; accepted: at most 100\n");

    r = RunCli({"--x", "u+\x1b]0;t\a", "--y", "v", "--z", "u", "--u", "0,1", "--v", "0,1"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vexilon-render: --x: syntax error at position 3\n  u+\\033]0;t\\a\n    ^\n");
    r = RunCli(Typed({"--z", "u+a", "--param", "a\nb=1"}));
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Tidy(r.err));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);

    std::ofstream(dir / "evil.toml") << "[[surface]]\nid = \"evil\\u001b[2J\\nsecond line\"\ncaption = \"C\"\n";
    r = RunCli({"--define", dir / "evil.toml"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(Tidy(r.err));
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1);
    EXPECT_NE(r.err.find("'evil\\033[2J\\nsecond line'"), std::string::npos) << r.err;
}

TEST(HostileCli, NoFileTakesTheTypedSurfacesId)
{
    TempDir dir;
    std::ofstream(dir / "mine.toml") << Entry("formulas");
    Result r = RunCli(Typed({"--define", dir / "mine.toml", "-o", dir / "o.png"}));
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vexilon-render: --define: '" + dir / "mine.toml" +
                         "':2: surface 'formulas': the id 'formulas' is kept for the surface typed as formulas; accepted: any other id\n");
    // A gallery that tries is told about, and the typed surface is drawn all the same.
    std::ofstream(dir / "gallery.toml") << Entry("Formulas") << Entry("otra");
    const Outcome run = Shell("VEXILON_GALLERY='" + dir / "gallery.toml" + "' " + kProgram +
                                  " --x 10*u --y 10*v --z u*v --u -1,1,5 --v -1,1,5 -o '" + dir / "typed.png" + "'", dir);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(dir / "typed.png"));
}

TEST(HostileCli, TheCapsOnWorkAreToldBeforeAnySampling)
{
    TempDir dir;
    std::vector<std::string> args = Typed({"-o", dir / "o.png"});
    std::string z = "u";
    for (int i = 0; i < 51; ++i) {
        args.push_back("--param");
        args.push_back("p" + std::to_string(i) + "=1");
        z += "+p" + std::to_string(i);
    }
    args.push_back("--z");
    args.push_back(z);
    Result r = RunCli(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vexilon-render: --param: 51 parameters; accepted: at most 50\n");

    std::string x = "u";
    while (x.size() < 999)
        x += "+u";
    r = RunCli({"--x", x, "--y", x, "--z", "u", "--u", "0,1,1000", "--v", "0,1,1000", "--samples", "1000", "-o", dir / "o.png"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vexilon-render: --samples: 2000000 samples of formulas 1999 characters long; accepted: characters "
                     "times samples at most 200000000, here at most 100050 samples\n");
    EXPECT_FALSE(fs::exists(dir / "o.png"));
}

TEST(HostileCli, AContentRewrittenInPlaceIsMadeInAFileNotInMemory)
{
    TempDir dir;
    Put(dir / "a.gif", "old");
    fs::create_hard_link(dir / "a.gif", dir / "b.gif");
    std::string error;
    bool onDisk = false;
    const std::string content(1 << 20, 'x');
    EXPECT_TRUE(WriteFileAtomically(dir / "b.gif", [&](std::FILE* f) {
        // A memory stream has no descriptor; a file does, and holds what was written so far.
        struct stat st {};
        std::fputs("head", f);
        std::fflush(f);
        onDisk = fileno(f) >= 0 && fstat(fileno(f), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 4;
        return std::fwrite(content.data(), 1, content.size(), f) == content.size();
    }, error)) << error;
    EXPECT_TRUE(onDisk);
    EXPECT_EQ(Read(dir / "a.gif"), "head" + content);
    EXPECT_EQ(fs::hard_link_count(dir / "a.gif"), 2u);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.gif", "b.gif"}));

    // An animation onto it: every frame lands in both names, nothing else is left.
    const Result r = RunCli({"-s", "toro", "--turn", "12", "-o", dir / "a.gif"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Read(dir / "b.gif").substr(0, 6), "GIF89a");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.gif", "b.gif"}));
}

}   // namespace
