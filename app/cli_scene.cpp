// The command line's scene: the session's own rule, so a link draws what the page shows.
#include "app/cli_scene.h"

#include "app/translation.h"
#include "session/scene_session.h"

bool ResolveScene(SurfaceRegistry& surfaces, RenderRequest& request, std::string& error)
{
    OwnSurfaces own(surfaces);   // the gallery, and one's own formulas accepted after it
    ViewSession session(surfaces, nullptr);
    FormulaProblem problem;
    if (!OpenScene(*request.scene, session, own, problem)) {
        error = SpanishMessages() ? problem.spanish : problem.english;
        return false;
    }
    request.surface = session.View().surface;
    request.sceneView = session.StepView();
    request.sceneWire = std::make_shared<const Wireframe>(session.FrameWireframe());
    const int size = request.style.size;
    request.style = session.Style();
    request.style.size = size;
    request.motion.axis = session.GetTurnAxis();
    return true;
}
