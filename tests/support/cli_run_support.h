// What the tests share to run vexilon-render in-process and read what it wrote.
#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/render_cli.h"

struct Result {
    int status;
    std::string out, err;
};

// The whole content of file, from its start.
inline std::string ReadAll(std::FILE* file)
{
    std::rewind(file);
    std::string text;
    char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    return text;
}

// vexilon-render with args (the program name is added) writing to out and err; its exit status.
inline int RunCliOn(std::vector<std::string> args, std::FILE* out, std::FILE* err)
{
    args.insert(args.begin(), "vexilon-render");
    std::vector<const char*> argv;
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    argv.push_back(nullptr);
    return RunRenderCli(static_cast<int>(args.size()), argv.data(), out, err);
}

// vexilon-render with args, its standard error caught, and its standard output too unless it is
// to go to out (then Result::out stays empty).
inline Result RunCli(std::vector<std::string> args, std::FILE* out = nullptr)
{
    std::FILE* caught = out ? nullptr : std::tmpfile();
    std::FILE* err = std::tmpfile();
    const int status = RunCliOn(std::move(args), out ? out : caught, err);
    Result r{status, caught ? ReadAll(caught) : std::string(), ReadAll(err)};
    if (caught)
        std::fclose(caught);
    std::fclose(err);
    return r;
}

// vexilon-render with args writing to the process's own streams; its exit status.
inline int RenderCli(std::vector<std::string> args)
{
    return RunCliOn(std::move(args), stdout, stderr);
}
