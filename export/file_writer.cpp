// Writing a file whole or not at all: in place for devices, FIFOs and linked files, else by rename.
#include "export/file_writer.h"

#include <acl/libacl.h>
#include <fcntl.h>
#include <limits.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <vector>

#include "export/output_format.h"
#include "export/temp_cleanup.h"

namespace {

constexpr int kMaxLinks = 40;   // the kernel's own limit on a chain of symbolic links

bool Fail(std::string& error, int code)
{
    error = std::strerror(code);
    return false;
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

// Runs write on file and flushes it; the first failure names the reason.
bool WriteAndFlush(std::FILE* file, const std::function<bool(std::FILE*)>& write, std::string& error)
{
    errno = 0;
    bool ok = write(file);
    if (!ok)
        error = errno ? std::strerror(errno) : kNotEncodedReason;
    if (std::fflush(file) != 0 && ok)
        ok = Fail(error, errno);
    return ok;
}

// Closes file; a failure there counts when all went well before.
bool Close(std::FILE* file, bool ok, std::string& error)
{
    if (std::fclose(file) != 0 && ok)
        ok = Fail(error, errno);
    return ok;
}

// Where path finally leads: its chain of symbolic links followed, the last name possibly absent.
struct Resolved {
    std::string name;
    bool        throughProc = false;   // a link the kernel makes (/dev/stdout): it names an open file
};

bool FollowLinks(const std::string& path, Resolved& resolved, std::string& error)
{
    resolved.name = path;
    for (int step = 0; step < kMaxLinks; ++step) {
        struct stat st {};
        if (lstat(resolved.name.c_str(), &st) != 0)
            return errno == ENOENT ? true : Fail(error, errno);
        if (!S_ISLNK(st.st_mode))
            return true;
        struct statfs fs {};
        if (statfs(FolderOf(resolved.name).c_str(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC)
            resolved.throughProc = true;
        std::string target(PATH_MAX, '\0');   // links in /proc report no size
        const ssize_t length = readlink(resolved.name.c_str(), target.data(), target.size());
        if (length < 0)
            return Fail(error, errno);
        target.resize(static_cast<size_t>(length));
        if (!target.empty() && target.front() != '/' && resolved.name.find('/') != std::string::npos)
            target = FolderOf(resolved.name) + "/" + target;
        resolved.name = target;
    }
    return Fail(error, ELOOP);
}

// The umask, read without changing it (changing it would race with other threads creating files).
mode_t CurrentUmask()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("Umask:", 0) == 0)
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8)) & 0777;
    return 022;
}

// A file in folder being written, first nameless (O_TMPFILE) where the file system allows it, and
// under a short name of its own, so that any name the target may have leaves room for it.
class TempFile {
public:
    ~TempFile() { Remove(); }

    // Opens the file with mode 0666 under the umask; false with errno on failure.
    bool Create(const std::string& folder)
    {
        m_folder = folder;
        m_fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            return true;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            return false;
        const CleanupSignalsHeld held;
        std::string name = folder + "/.vexilon-XXXXXX";
        m_fd = mkstemp(name.data());
        if (m_fd < 0)
            return false;
        Named(name);
        if (fchmod(m_fd, 0666 & ~CurrentUmask()) != 0) {   // mkstemp made it 0600
            const int code = errno;
            Remove();
            errno = code;
            return false;
        }
        return true;
    }

    int Fd() const { return m_fd; }

    // Gives a nameless file its temporary name; false with errno on failure.
    bool Link()
    {
        if (!m_name.empty())
            return true;
        std::random_device entropy;
        const std::string proc = "/proc/self/fd/" + std::to_string(m_fd);
        const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = m_folder + "/.vexilon-";
            for (int i = 0; i < 6; ++i)
                name += letters[entropy() % (sizeof letters - 1)];
            const CleanupSignalsHeld held;
            if (linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                Named(name);
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    // Renames the file over target and forgets it; false with errno on failure.
    bool RenameOver(const std::string& target)
    {
        const CleanupSignalsHeld held;
        if (std::rename(m_name.c_str(), target.c_str()) != 0)
            return false;
        ForgetForCleanup(m_slot);
        m_name.clear();
        return true;
    }

    void Closed() { m_fd = -1; }   // the stream made over Fd() closed it

    void Remove()
    {
        if (m_fd >= 0)
            close(m_fd);
        m_fd = -1;
        const CleanupSignalsHeld held;
        if (!m_name.empty())
            unlink(m_name.c_str());
        ForgetForCleanup(m_slot);
        m_name.clear();
        m_slot = -1;
    }

private:
    void Named(const std::string& name)
    {
        m_name = name;
        m_slot = KeepForCleanup(name.c_str());
    }

    std::string m_folder, m_name;
    int         m_fd = -1, m_slot = -1;
};

// The replacement takes the old file's owner and group where allowed, and its permission bits; a
// group it could not keep gets only what others had, and set-id bits go with an owner or group lost.
bool KeepOwnerAndMode(int fd, const struct stat& old)
{
    if (fchown(fd, old.st_uid, old.st_gid) != 0 && fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
        // the owner and group of a process that may not give files away
    }
    struct stat now {};
    if (fstat(fd, &now) != 0)
        return false;
    mode_t mode = old.st_mode & 07777;
    if (now.st_uid != old.st_uid)
        mode &= ~static_cast<mode_t>(S_ISUID);
    if (now.st_gid != old.st_gid)
        mode = (mode & ~static_cast<mode_t>(S_ISGID | 070)) | ((mode & 07) << 3);
    return fchmod(fd, mode) == 0;
}

// An access list beyond the mode (users or groups granted by name) goes over to the replacement,
// unless the group changed: its entries were written for the old group.
bool KeepAccessList(int fd, const std::string& oldPath, const struct stat& old)
{
    struct stat now {};
    if (fstat(fd, &now) != 0)
        return false;
    const acl_t list = acl_get_file(oldPath.c_str(), ACL_TYPE_ACCESS);
    if (!list)
        return errno == ENOTSUP;   // a file system without access lists: the mode says it all
    const bool extended = acl_equiv_mode(list, nullptr) == 1;
    const bool ok = !extended || now.st_gid != old.st_gid || acl_set_fd(fd, list) == 0;
    const int code = errno;
    acl_free(list);
    errno = code;
    return ok;
}

// Writes to a device, FIFO or other special file as it is, never replacing it.
bool StreamInPlace(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string& error)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);   // a FIFO waits for its reader
    if (fd < 0)
        return Fail(error, errno);
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        return Fail(error, errno);
    }
    return Close(file, WriteAndFlush(file, write, error), error);
}

// A file with no name, for content made in full before it is copied in place: in near's folder
// where allowed (same file system, same space), else in the temporary folder. Having no name, it
// vanishes on any exit; -1 with errno when neither place takes one.
int NamelessScratchFile(const std::string& near)
{
    const char* tmp = std::getenv("TMPDIR");
    for (const std::string& folder : {near, std::string(tmp && *tmp ? tmp : "/tmp")}) {
        int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
            const CleanupSignalsHeld held;   // named for an instant: gone before any signal is taken
            std::string name = folder + "/.vexilon-XXXXXX";
            fd = mkstemp(name.data());
            if (fd >= 0)
                unlink(name.c_str());
        }
        if (fd >= 0)
            return fd;
    }
    return -1;
}

// Rewrites an existing regular file in its own inode once the whole new content is made in a
// nameless scratch file (memory stays bounded however long the content), space reserved first
// where the file system can, so that a failure of the encoder touches nothing.
bool RewriteInPlace(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string& error)
{
    const int scratchFd = NamelessScratchFile(FolderOf(path));
    if (scratchFd < 0)
        return Fail(error, errno);
    std::FILE* scratch = fdopen(scratchFd, "w+b");
    if (!scratch) {
        close(scratchFd);
        return Fail(error, errno);
    }
    const std::unique_ptr<std::FILE, decltype(&std::fclose)> owned(scratch, &std::fclose);
    if (!WriteAndFlush(scratch, write, error))
        return false;
    struct stat made {};
    if (fstat(scratchFd, &made) != 0)
        return Fail(error, errno);
    const size_t size = static_cast<size_t>(made.st_size);
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return Fail(error, errno);
    if (size > 0)
        (void)fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size));   // unsupported: written anyway
    bool ok = true;
    std::vector<char> buffer(1 << 16);
    for (size_t done = 0; ok && done < size;) {
        const ssize_t got = pread(scratchFd, buffer.data(), std::min(buffer.size(), size - done), static_cast<off_t>(done));
        if (got <= 0) {
            if (got < 0 && errno == EINTR)
                continue;
            ok = Fail(error, got < 0 ? errno : EIO);
            break;
        }
        for (size_t put = 0; ok && put < static_cast<size_t>(got);) {
            const ssize_t n = pwrite(fd, buffer.data() + put, static_cast<size_t>(got) - put, static_cast<off_t>(done + put));
            if (n > 0)
                put += static_cast<size_t>(n);
            else if (n < 0 && errno != EINTR)
                ok = Fail(error, errno);
        }
        done += static_cast<size_t>(got);
    }
    if (ok && ftruncate(fd, static_cast<off_t>(size)) != 0)
        ok = Fail(error, errno);
    if (close(fd) != 0 && ok)
        ok = Fail(error, errno);
    return ok;
}

// In a sticky folder (/tmp) only the owner of the file or of the folder may rename over the file,
// whatever the file's mode says; root may always.
bool StickyFolderForbidsReplacing(const std::string& target, const struct stat& old)
{
    struct stat folder {};
    const uid_t me = geteuid();
    return stat(FolderOf(target).c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) && me != 0 &&
           old.st_uid != me && folder.st_uid != me;
}

// Writes a new file, or the replacement of old, beside target and renames it into place.
bool ReplaceByRename(const std::string& target, const struct stat* old,
                     const std::function<bool(std::FILE*)>& write, std::string& error)
{
    TempFile temp;
    if (!temp.Create(FolderOf(target))) {
        if (old && (errno == EACCES || errno == EPERM))
            return RewriteInPlace(target, write, error);   // a writable file in a folder that is not
        return Fail(error, errno);
    }
    if (old && (!KeepOwnerAndMode(temp.Fd(), *old) || !KeepAccessList(temp.Fd(), target, *old)))
        return Fail(error, errno);
    std::FILE* file = fdopen(temp.Fd(), "wb");
    if (!file)
        return Fail(error, errno);
    bool ok = WriteAndFlush(file, write, error);
    if (ok && !temp.Link())   // named only now: a nameless file vanishes by itself on any failure
        ok = Fail(error, errno);
    temp.Closed();
    ok = Close(file, ok, error);
    if (ok && !temp.RenameOver(target))
        ok = Fail(error, errno);
    return ok;
}

}   // namespace

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                         std::string& error)
{
    const std::string_view file = FilePartOf(path);
    if (file.empty() || file == "." || file == "..")
        return Fail(error, EISDIR);
    struct stat seen {};
    const bool exists = stat(path.c_str(), &seen) == 0;
    if (!exists && errno != ENOENT)
        return Fail(error, errno);
    if (exists && S_ISDIR(seen.st_mode))
        return Fail(error, EISDIR);
    if (exists && !S_ISREG(seen.st_mode))
        return StreamInPlace(path, write, error);
    if (exists && faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return Fail(error, errno);   // as cp refuses a read-only file: the folder's permission is not the file's
    Resolved resolved;
    if (!FollowLinks(path, resolved, error))
        return false;
    if (exists && (seen.st_nlink > 1 || resolved.throughProc || StickyFolderForbidsReplacing(resolved.name, seen)))
        return RewriteInPlace(path, write, error);   // every name keeps showing the same file
    return ReplaceByRename(resolved.name, exists ? &seen : nullptr, write, error);
}
