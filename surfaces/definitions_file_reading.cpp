// Reading a definitions file from disk: only a regular file, bounded in size, never waiting on a FIFO.
#include "surfaces/definitions_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <utility>

namespace {

// What a name that is not a regular file is, in both languages; empty for a regular file.
std::pair<std::string, std::string> NotAFile(mode_t mode)
{
    if (S_ISREG(mode))
        return {};
    if (S_ISDIR(mode))
        return {"is a folder", "es una carpeta"};
    if (S_ISFIFO(mode))
        return {"is a FIFO", "es una tubería con nombre (FIFO)"};
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return {"is a device", "es un dispositivo"};
    if (S_ISSOCK(mode))
        return {"is a socket", "es un socket"};
    return {"is not a regular file", "no es un archivo normal"};
}

std::string SpanishReason(int reason)
{
    switch (reason) {
    case ENOENT: return "no existe";
    case EACCES: return "no hay permiso para leerlo";
    case ELOOP: return "sus enlaces simbólicos forman un bucle";
    case ENOTDIR: return "una parte de la ruta no es una carpeta";
    case ENAMETOOLONG: return "el nombre es demasiado largo";
    default: return "no se puede leer";
    }
}

// The whole text of a regular file of at most kMaxDefinitionsFileBytes; else a problem.
bool ReadWhole(const std::string& path, std::string& text, FileProblem& problem)
{
    const std::string limit = std::to_string(kMaxDefinitionsFileBytes / (1024 * 1024)) + " MB";
    const auto fail = [&](std::string english, std::string spanish) {
        problem = {path, 0, std::move(english), std::move(spanish)};
        return false;
    };
    const auto failErrno = [&](int reason) {
        return fail(std::string("cannot be read: ") + std::strerror(reason), SpanishReason(reason));
    };
    // Non-blocking, so that opening a FIFO does not wait for a writer before it can be refused.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failErrno(errno);
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    struct stat seen {};
    if (fstat(fd, &seen) != 0)
        return failErrno(errno);
    if (const auto [english, spanish] = NotAFile(seen.st_mode); !english.empty())
        return fail(english + ", not a definitions file; accepted: a regular TOML file",
                    spanish + ", no un archivo de definiciones; se acepta un archivo TOML normal");
    const auto tooLarge = [&] {
        return fail("is larger than " + limit + "; accepted: a definitions file of at most " + limit,
                    "ocupa más de " + limit + "; se aceptan archivos de definiciones de hasta " + limit);
    };
    if (seen.st_size > kMaxDefinitionsFileBytes)
        return tooLarge();
    // The size is checked again while reading: a file may grow, and some report none.
    text.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return failErrno(errno);
        }
        if (static_cast<long long>(text.size()) + n > kMaxDefinitionsFileBytes)
            return tooLarge();
        text.append(buffer, static_cast<size_t>(n));
    }
}

}   // namespace

DefinitionsRead ReadDefinitionsFile(const std::string& path)
{
    std::string text;
    FileProblem problem;
    if (!ReadWhole(path, text, problem)) {
        DefinitionsRead read;
        read.problems.push_back(std::move(problem));
        return read;
    }
    return ParseDefinitions(text, path);
}
