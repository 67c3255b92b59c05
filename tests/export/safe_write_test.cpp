// Writing outputs without harming what is there: devices, FIFOs, links, modes, names, signals.
#include "export/file_writer.h"
#include "export/temp_cleanup.h"
#include "safe_write_support.h"

#include <gtest/gtest.h>

#include <acl/libacl.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/sysmacros.h>

#include <cstdio>
#include <thread>

namespace {

using namespace safe_write_test;

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

}   // namespace
