// --scene: a link's scene opened as the window and the page open it, into the request.
#pragma once

#include <string>

#include "app/cli_options.h"

// Shows request.scene in a session over surfaces and takes from it the surface, the wireframe,
// the view record and the style (the request's size kept). False with one line in error.
bool ResolveScene(SurfaceRegistry& surfaces, RenderRequest& request, std::string& error);
