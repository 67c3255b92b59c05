// The headless command line: parses its arguments and renders frames to PNG, SVG or a trace.
#pragma once

#include <cstdio>

#include "surfaces/registry.h"

// Runs vexilon-render with argv on the program's surfaces; returns the exit status (0 done, 1 I/O
// error, 2 usage error). Messages go to err; a trace written to standard output goes to out.
int RunRenderCli(SurfaceRegistry& surfaces, int argc, const char* const* argv, std::FILE* out, std::FILE* err);

// The same on surfaces of its own, as a fresh process would have them.
int RunRenderCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err);
