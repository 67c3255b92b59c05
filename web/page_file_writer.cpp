// Writing the page's files, which live in the WebAssembly's memory: whole or not at all, as the
// programs write theirs. There are no devices, links, owners or access lists to keep there.
#include "export/file_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

bool WriteFileAtomically(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string& error)
{
    const std::string temporary = path + ".part";
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    const bool written = write(file);
    const int writeErrno = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = std::strerror(written && closed ? errno : writeErrno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}
