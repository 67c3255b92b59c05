// Writing a file whole or not at all.
#include "export/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write,
                         std::string& error)
{
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    if (base.empty()) {
        error = "the name is a directory";
        return false;
    }
    // Created with mode 0666 so that the umask applies as to any new file (mkstemp would make it
    // 0600, and reading the umask means changing it for the whole process).
    std::random_device entropy;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%ld-%08x", static_cast<long>(getpid()), entropy());
        temp = dir + "." + base + suffix;
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        error = std::strerror(errno);
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    errno = 0;
    bool ok = write(file);
    if (!ok)
        error = errno ? std::strerror(errno) : "the data could not be encoded";
    if (std::fflush(file) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (std::fclose(file) != 0 && ok) {
        error = std::strerror(errno);
        ok = false;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        error = std::strerror(errno);
        ok = false;
    }
    if (!ok)
        unlink(temp.c_str());
    return ok;
}
