// What the command-line tests share: a folder of their own, and the check that bad input is
// refused with one message, a status and no file.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"
#include "cli_run_support.h"

namespace fs = std::filesystem;

// The folder's name says which tests wrote it, should one be left behind.
struct TempDir : TempFolder {
    TempDir() : TempFolder("cli") {}
};

struct BadInput {
    std::vector<std::string> args;
    int status;
    std::string message;   // a part of the one-line message
};

// One message of one line (or up to mostLines), the status, nothing on standard output, no file.
inline void ExpectRefused(const BadInput& c, const TempDir& dir, long mostLines)
{
    const Result r = RunCli(c.args);
    std::string joined;
    for (const std::string& a : c.args)
        joined += a + " ";
    EXPECT_EQ(r.status, c.status) << joined;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << joined << "\n" << r.err;
    const long lines = std::count(r.err.begin(), r.err.end(), '\n');
    EXPECT_TRUE(lines == 1 || lines == mostLines) << joined << "\n" << r.err;
    EXPECT_EQ(r.err.rfind("vexilon-render: ", 0), 0u) << r.err;
    EXPECT_TRUE(r.out.empty()) << joined;
    EXPECT_EQ(dir.Entries(), 0u) << joined;
}
