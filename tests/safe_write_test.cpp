// Writing outputs without harming what is there, and every failure said on one line of text.
#include "app/cli_values.h"
#include "app/render_cli.h"
#include "export/file_writer.h"
#include "export/temp_cleanup.h"

#include <gtest/gtest.h>

#include <acl/libacl.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kProgram = VEXILON_RENDER_PATH;

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "vexilon-safe-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(m_path); }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    const fs::path& Path() const { return m_path; }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    fs::path m_path;
};

std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

void Put(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// Writes text through the writer; the error is empty on success.
std::string WriteText(const std::string& path, const std::string& text)
{
    std::string error;
    const bool ok = WriteFileAtomically(
        path, [&](std::FILE* f) { return std::fwrite(text.data(), 1, text.size(), f) == text.size(); }, error);
    return ok ? std::string() : error.empty() ? "failed without a reason" : error;
}

std::string FailingEncoder(const std::string& path)
{
    std::string error;
    WriteFileAtomically(path, [](std::FILE* f) { std::fputs("partial", f); return false; }, error);
    return error;
}

struct Outcome {
    int status;   // the exit status, or 128 + the signal
    std::string err;
};

// Runs a shell command line with the program's stderr kept.
Outcome Shell(const std::string& command, const TempDir& dir)
{
    const std::string errFile = dir.Path().parent_path() / (dir.Path().filename().string() + ".err");
    const int raw = std::system((command + " 2>'" + errFile + "'").c_str());
    Outcome run{WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), Read(errFile)};
    fs::remove(errFile);
    return run;
}

ino_t Inode(const std::string& path)
{
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_ino;
}

TEST(SafeWrite, DevicesAreWrittenInPlaceAndTheirErrorsSaid)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "making device nodes needs root";
    TempDir dir;
    ASSERT_EQ(mknod((dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(mknod((dir / "full").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
    EXPECT_EQ(WriteText(dir / "null", "frame"), "");
    EXPECT_EQ(WriteText(dir / "full", "frame"), "No space left on device");
    EXPECT_TRUE(fs::is_character_file(dir / "null"));
    EXPECT_TRUE(fs::is_character_file(dir / "full"));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"full", "null"}));   // no temporary left beside them
}

TEST(SafeWrite, FifoIsOpenedAndWrittenForItsReader)
{
    TempDir dir;
    const std::string fifo = dir / "pipe";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = Read(fifo); });   // the writer's open waits for this one
    const std::string text(200000, 'x');                  // more than a pipe holds at once
    EXPECT_EQ(WriteText(fifo, text), "");
    reader.join();
    EXPECT_EQ(received, text);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST(SafeWrite, SymbolicLinksAreFollowedAndStay)
{
    TempDir dir;
    fs::create_directory(dir / "real");
    Put(dir / "real/file.png", "old");
    fs::create_symlink("real/file.png", dir / "one.png");   // relative to the link's own folder
    fs::create_symlink(dir / "one.png", dir / "two.png");   // a chain, absolute
    EXPECT_EQ(WriteText(dir / "two.png", "new"), "");
    EXPECT_TRUE(fs::is_symlink(dir / "one.png"));
    EXPECT_TRUE(fs::is_symlink(dir / "two.png"));
    EXPECT_EQ(Read(dir / "real/file.png"), "new");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"one.png", "real", "two.png"}));

    fs::create_symlink("real/made.png", dir / "dangling.png");   // its target is created
    EXPECT_EQ(WriteText(dir / "dangling.png", "made"), "");
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.png"));
    EXPECT_EQ(Read(dir / "real/made.png"), "made");

    fs::create_symlink("loop.png", dir / "loop.png");
    EXPECT_EQ(WriteText(dir / "loop.png", "x"), "Too many levels of symbolic links");
}

TEST(SafeWrite, HardLinkedFileIsRewrittenInPlaceSoEveryNameSeesIt)
{
    TempDir dir;
    Put(dir / "a.png", "old content, longer than the new");
    fs::create_hard_link(dir / "a.png", dir / "b.png");
    const ino_t inode = Inode(dir / "a.png");
    EXPECT_EQ(WriteText(dir / "b.png", "new"), "");
    EXPECT_EQ(Read(dir / "a.png"), "new");
    EXPECT_EQ(Inode(dir / "b.png"), inode);
    EXPECT_EQ(fs::hard_link_count(dir / "a.png"), 2u);
    // A failing encoder leaves both names as they were: the content is made in full first.
    EXPECT_EQ(FailingEncoder(dir / "b.png"), "the data could not be encoded");
    EXPECT_EQ(Read(dir / "a.png"), "new");
}

TEST(SafeWrite, ReplacedFileKeepsItsModeOwnerAndGroup)
{
    TempDir dir;
    const std::string path = dir / "private.png";
    Put(path, "old");
    ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    const bool root = geteuid() == 0;
    if (root) {
        ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);   // nobody and nogroup, or their numbers
    }
    const ino_t inode = Inode(path);
    EXPECT_EQ(WriteText(path, "new"), "");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_NE(st.st_ino, inode);   // replaced whole, by rename
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    if (root) {
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(st.st_gid, 65534u);
    }
    ASSERT_EQ(chmod(path.c_str(), 0751), 0);
    EXPECT_EQ(WriteText(path, "again"), "");
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0751u);
    EXPECT_EQ(Read(path), "again");
}

TEST(SafeWrite, ReplacedFileKeepsTheUsersItsAccessListNames)
{
    TempDir dir;
    const std::string path = dir / "shared.png";
    Put(path, "old");
    const acl_t granted = acl_from_text("u::rw-,u:65534:rw-,g::r--,m::rw-,o::---");
    ASSERT_NE(granted, nullptr);
    const int set = acl_set_file(path.c_str(), ACL_TYPE_ACCESS, granted);
    acl_free(granted);
    if (set != 0 && errno == ENOTSUP)
        GTEST_SKIP() << "the temporary folder's file system has no access lists";
    ASSERT_EQ(set, 0);
    EXPECT_EQ(WriteText(path, "new"), "");
    EXPECT_EQ(Read(path), "new");
    const acl_t kept = acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
    ASSERT_NE(kept, nullptr);
    char* text = acl_to_any_text(kept, nullptr, ',', TEXT_NUMERIC_IDS);
    EXPECT_STREQ(text, "user::rw-,user:65534:rw-,group::r--,mask::rw-,other::---");
    acl_free(text);
    acl_free(kept);
}

TEST(SafeWrite, EveryLegalNameCanBeWrittenAndReplaced)
{
    TempDir dir;
    const std::string longest = dir / (std::string(251, 'n') + ".png");   // 255 bytes, the most allowed
    EXPECT_EQ(WriteText(longest, "first"), "");
    EXPECT_EQ(WriteText(longest, "second"), "");
    EXPECT_EQ(Read(longest), "second");
    EXPECT_EQ(dir.Names().size(), 1u);
    EXPECT_EQ(WriteText(dir / (std::string(252, 'n') + ".png"), "x"), "File name too long");
}

TEST(SafeWrite, FailuresLeaveTheOldFileAndNoTemporary)
{
    TempDir dir;
    Put(dir / "keep.png", "old");
    EXPECT_EQ(FailingEncoder(dir / "keep.png"), "the data could not be encoded");
    EXPECT_EQ(FailingEncoder(dir / "new.png"), "the data could not be encoded");
    fs::create_directory(dir / "folder.png");
    EXPECT_EQ(WriteText(dir / "folder.png", "x"), "Is a directory");
    EXPECT_EQ(WriteText(dir / "", "x"), "Is a directory");
    EXPECT_EQ(WriteText(dir / "missing/new.png", "x"), "No such file or directory");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"folder.png", "keep.png"}));
    EXPECT_EQ(Read(dir / "keep.png"), "old");
}

TEST(SafeWrite, ASignalRemovesTheNamedTemporaryAndStillEndsTheProgram)
{
    TempDir dir;
    const std::string kept = dir / ".vexilon-test";
    const std::string other = dir / "left";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        Put(kept, "partial");
        Put(other, "partial");
        const int slot = KeepForCleanup(other.c_str());
        ForgetForCleanup(slot);   // renamed into place: a signal must leave it
        KeepForCleanup(kept.c_str());
        raise(SIGTERM);
        _exit(0);   // not reached when the default action is restored
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"left"});
}

TEST(SafeWrite, AnInterruptedRunOfFramesLeavesOnlyWholeFrames)
{
    TempDir dir;
    const int watch = inotify_init1(IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, dir.Path().c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const std::string out = dir / "orbit.png";
        execl(kProgram.c_str(), "vexilon-render", "-s", "toro", "--orbit", "5,0", "--frames", "1000000", "-o",
              out.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    alignas(inotify_event) char events[4096];
    ASSERT_GT(read(watch, events, sizeof events), 0);   // blocks until the first frame is being made
    kill(child, SIGINT);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(watch);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    for (const std::string& name : dir.Names()) {
        EXPECT_EQ(name.rfind("orbit-", 0), 0u) << name;
        EXPECT_EQ(Read(dir / name).substr(1, 3), "PNG") << name;
    }
}

// The program as another user may run it, from a copy that user may execute.
TEST(SafeWrite, AnotherUsersFileIsRefusedOrWrittenAsItsModeSays)
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

Outcome RunCli(std::vector<std::string> args, std::FILE* out = nullptr)
{
    args.insert(args.begin(), "vexilon-render");
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    std::FILE* ownOut = out ? nullptr : std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = RunRenderCli(static_cast<int>(argv.size()), argv.data(), out ? out : ownOut, err);
    std::rewind(err);
    std::string text;
    for (int c; (c = std::fgetc(err)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(err);
    if (ownOut)
        std::fclose(ownOut);
    return {status, text};
}

TEST(SafeWriteCli, MessagesAreOneLineWhateverTheArgument)
{
    TempDir dir;
    const Outcome zoom = RunCli({"-s", "1", "--zoom", "5\n6", "-o", dir / "a.png"});
    EXPECT_EQ(zoom.status, 2);
    EXPECT_EQ(zoom.err, "vexilon-render: --zoom: '5\\n6' is not a number; accepted: a number from 0 to 100\n");
    const Outcome name = RunCli({"-s", "1", "-o", dir / "no\x1b]0;\a/x.png"});
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
    const Outcome single = RunCli({"-s", "1", "--format", "png", "-o", folder});
    const Outcome frames = RunCli({"-s", "1", "--format", "png", "--frames", "2", "-o", folder});
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
        const Outcome run = RunCli(args, out);
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
    const Outcome full = RunCli({"-s", "toro", "--format", "trace", "-o", dir / "full"});
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.err, "vexilon-render: cannot write '" + (dir / "full") + "': No space left on device\n");
    EXPECT_TRUE(fs::is_character_file(dir / "null"));
    EXPECT_TRUE(fs::is_character_file(dir / "full"));
}

}   // namespace
