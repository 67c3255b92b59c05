// A parse of vexilon-render's command line in progress, shared by the option table
// (cli_options.cpp) and the checks made once every option is read (cli_checks.cpp).
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/cli_options.h"

constexpr std::string_view kProgram = "vexilon-render";

struct UsageError {};   // thrown once the message is printed

// A parse in progress: the request being filled and where a usage error is said.
struct Parsing {
    SurfaceRegistry&            surfaces;
    RenderRequest&              request;
    std::FILE*                  err;
    std::optional<CliAction>    action;        // --help, --version or --list
    bool                        surfaceGiven = false;
    std::optional<OutputFormat> format;        // --format, when given
    bool                        lineWidthGiven = false;

    [[noreturn]] void Fail(const std::string& message) const
    {
        std::fprintf(err, "%s: %s\n", kProgram.data(), message.c_str());
        throw UsageError{};
    }
};

// What must hold once every option is read: the surface, the output and its format, the figure's
// and the motion's options against each other; the first that does not hold is said.
void CheckRequest(Parsing& p);
