// A session's shown scene written down, and a scene read from a link shown in a session: the one
// rule the window, the page and the command line share.
#pragma once

#include <optional>

#include "session/own_surfaces.h"
#include "session/scene.h"
#include "session/view_session.h"

// What session shows: a built-in or gallery surface by id with its parameters' values, one's own
// (saved, accepted or typed) with its whole definition. Nothing without a surface, or for a preview.
std::optional<Scene> SceneOf(const ViewSession& session);

// Shows scene in session: the surface (one's own accepted into own, as "Definir…" does), its
// parameters' values, the "Vista" options (the session's size kept), "Corte" (none without it) and
// the view. False, with the problem in one line and the session as it was, when the surface is
// unknown, its formulas are wrong or a parameter is not the surface's.
bool OpenScene(const Scene& scene, ViewSession& session, OwnSurfaces& own, FormulaProblem& problem);
