// The work of vexilon-render once its request is read: the views, the frames and their files.
#pragma once

#include <cstdio>

#include "app/cli_options.h"

// Renders the request's frames and writes them; returns the exit status (0 done, 1 I/O error).
// A trace or picture for standard output goes to out; messages go to err.
int RunRenderJob(const SurfaceRegistry& surfaces, const RenderRequest& request, std::FILE* out, std::FILE* err);
