// Helpers of the safe-writing tests: a temporary folder, files read and put whole, the program run
// through a shell.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include "temp_folder.h"

namespace safe_write_test {

namespace fs = std::filesystem;

inline const std::string kProgram = VEXILON_RENDER_PATH;

// The folder's name says which tests wrote it, should one be left behind; its files named as
// the strings these tests join into command lines.
struct TempDir : TempFolder {
    TempDir() : TempFolder("safe") {}
    std::string operator/(const std::string& name) const { return (Path() / name).string(); }
};

inline std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

inline void Put(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

struct Outcome {
    int status;   // the exit status, or 128 + the signal
    std::string err;
};

// Runs a shell command line with the program's stderr kept.
inline Outcome Shell(const std::string& command, const TempDir& dir)
{
    const std::string errFile = dir.Path().parent_path() / (dir.Path().filename().string() + ".err");
    const int raw = std::system((command + " 2>'" + errFile + "'").c_str());
    Outcome run{WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), Read(errFile)};
    fs::remove(errFile);
    return run;
}

inline ino_t Inode(const std::string& path)
{
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_ino;
}

}   // namespace safe_write_test
