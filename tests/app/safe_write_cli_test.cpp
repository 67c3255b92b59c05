// vexilon-render's side of safe writing: quoted messages, standard output checked, names refused.
#include "app/cli_values.h"
#include "app/render_cli.h"
#include "cli_run_support.h"
#include "safe_write_support.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/sysmacros.h>

#include <cstdio>

namespace {

using namespace safe_write_test;

TEST(Quote, EscapesWhatIsNotPrintableText)
{
    EXPECT_EQ(Quote("toro.png"), "'toro.png'");
    EXPECT_EQ(Quote("año ∞.png"), "'año ∞.png'");              // UTF-8 text stays as it is
    EXPECT_EQ(Quote("5\n6"), "'5\\n6'");
    EXPECT_EQ(Quote("\t\r\a\b\v\f"), "'\\t\\r\\a\\b\\v\\f'");
    EXPECT_EQ(Quote("it's a\\b"), "'it\\'s a\\\\b'");
    EXPECT_EQ(Quote("\x1b[31mred\x7f"), "'\\033[31mred\\177'");   // no escape sequence reaches a terminal
    EXPECT_EQ(Quote(std::string_view("a\0b", 3)), "'a\\000b'");
    EXPECT_EQ(Quote("\xc2\x9b" "2J"), "'\\302\\2332J'");         // a C1 control, as UTF-8
    EXPECT_EQ(Quote("\xff\xc3(\xe2\x82"), "'\\377\\303(\\342\\202'");   // malformed and cut sequences
    EXPECT_EQ(Quote("\xc0\xaf\xed\xa0\x80"), "'\\300\\257\\355\\240\\200'");   // overlong, surrogate
}

TEST(SafeWriteCli, MessagesAreOneLineWhateverTheArgument)
{
    TempDir dir;
    const Result zoom = RunCli({"-s", "1", "--zoom", "5\n6", "-o", dir / "a.png"});
    EXPECT_EQ(zoom.status, 2);
    EXPECT_EQ(zoom.err, "vexilon-render: --zoom: '5\\n6' is not a number; accepted: a number from 0 to 1000, or auto\n");
    const Result name = RunCli({"-s", "1", "-o", dir / "no\x1b]0;\a/x.png"});
    EXPECT_EQ(name.status, 1);
    EXPECT_EQ(name.err, "vexilon-render: cannot write '" + (dir / "no\\033]0;\\a/x.png") +
                            "': No such file or directory\n");
}

TEST(SafeWriteCli, ANameEndingInAFolderIsRefusedWithOrWithoutFrames)
{
    TempDir dir;
    const std::string folder = dir / "";
    const std::string said = "vexilon-render: cannot write '" + folder +
                             "': the name ends in a folder; accepted: a file name after the last /, e.g. '" + folder +
                             "moebius.png'\n";
    const Result single = RunCli({"-s", "1", "--format", "png", "-o", folder});
    const Result frames = RunCli({"-s", "1", "--format", "png", "--frames", "2", "-o", folder});
    EXPECT_EQ(single.status, 1);
    EXPECT_EQ(frames.status, 1);
    EXPECT_EQ(single.err, said);
    EXPECT_EQ(frames.err, said);
    EXPECT_EQ(RunCli({"-s", "toro", "--format", "svg", "--frames", "2", "-o", dir / "."}).err,
              "vexilon-render: cannot write '" + (dir / ".") +
                  "': the name ends in a folder; accepted: a file name after the last /, e.g. '" + folder +
                  "toro.svg'\n");
    EXPECT_TRUE(dir.Names().empty());
}

TEST(SafeWriteCli, InfoOptionsSayAFailedStandardOutput)
{
    TempDir dir;
    for (const char* option : {"--help", "--list", "--version"}) {
        const Outcome run = Shell(kProgram + " " + option + " >/dev/full", dir);
        EXPECT_EQ(run.status, 1) << option;
        EXPECT_EQ(run.err, "vexilon-render: write error: No space left on device\n") << option;
    }
    const Outcome ok = Shell(kProgram + " --list >/dev/null", dir);
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.err, "");
}

TEST(SafeWriteCli, AClosedPipeStaysQuiet)
{
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);   // as a caller that ignores it: writes then fail with EPIPE
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"-s", "toro", "--format", "trace"}, {"-s", "1", "--format", "png", "-o", "-"}}) {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        close(ends[0]);   // the reader has gone, as "| head" does once it has its lines
        std::FILE* out = fdopen(ends[1], "w");
        const Result run = RunCli(args, out);
        std::fclose(out);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_EQ(run.err, "") << args[0];
    }
    sigaction(SIGPIPE, &previous, nullptr);
}

TEST(SafeWriteCli, DevicesGivenAsOutputStayDevices)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "making device nodes needs root";
    TempDir dir;
    ASSERT_EQ(mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(mknod((dir / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    EXPECT_EQ(RunCli({"-s", "toro", "--format", "trace", "-o", dir / "null"}).status, 0);
    const Result full = RunCli({"-s", "toro", "--format", "trace", "-o", dir / "full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "vexilon-render: cannot write '" + (dir / "full") + "': No space left on device\n");
    EXPECT_TRUE(fs::is_character_file(dir / "null"));
    EXPECT_TRUE(fs::is_character_file(dir / "full"));
}

// The program as another user may run it, from a copy that user may execute.
TEST(SafeWriteCli, AnotherUsersFileIsRefusedOrWrittenAsItsModeSays)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "running as a second user needs root";
    if (std::system("command -v setpriv >/dev/null") != 0)
        GTEST_SKIP() << "setpriv (util-linux) is not installed";
    TempDir dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
    fs::copy_file(kProgram, dir / "vexilon-render");
    const std::string target = dir / "shared.png";
    Put(target, "read-only");
    ASSERT_EQ(chmod(target.c_str(), 0444), 0);
    const std::string asNobody = "setpriv --reuid=nobody --regid=nogroup --clear-groups '" + (dir / "vexilon-render") +
                                 "' -s 1 -o ";
    const Outcome refused = Shell(asNobody + "'" + target + "'", dir);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "vexilon-render: cannot write '" + target + "': Permission denied\n");
    EXPECT_EQ(Read(target), "read-only");

    Put(dir / "open.png", "writable");   // by anyone: replaced, keeping its mode
    ASSERT_EQ(chmod((dir / "open.png").c_str(), 0666), 0);
    EXPECT_EQ(Shell(asNobody + "'" + (dir / "open.png") + "'", dir).status, 0);
    EXPECT_EQ(Read(dir / "open.png").substr(1, 3), "PNG");
    EXPECT_EQ(fs::status(dir / "open.png").permissions(), fs::perms(0666));

    // In a sticky folder, as /tmp, another's file may be written but not renamed over: in place.
    ASSERT_EQ(chmod(dir.Path().c_str(), 01777), 0);
    Put(dir / "sticky.png", "writable");
    ASSERT_EQ(chmod((dir / "sticky.png").c_str(), 0666), 0);
    const ino_t inode = Inode(dir / "sticky.png");
    const Outcome sticky = Shell(asNobody + "'" + (dir / "sticky.png") + "'", dir);
    EXPECT_EQ(sticky.status, 0) << sticky.err;
    EXPECT_EQ(Read(dir / "sticky.png").substr(1, 3), "PNG");
    EXPECT_EQ(Inode(dir / "sticky.png"), inode);
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"open.png", "shared.png", "sticky.png", "vexilon-render"}));
}

}   // namespace
