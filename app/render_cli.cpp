// vexilon-render: one frame of one surface, from the view of a fresh choice and the changes given.
#include "app/render_cli.h"

#include "app/cli_options.h"
#include "app/render_job.h"
#include "surfaces/gallery.h"
#include "surfaces/registry.h"
#include "version.h"

namespace {

int Finish(std::FILE* out)
{
    return std::fflush(out) == 0 ? 0 : 1;
}

}   // namespace

int RunRenderCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err)
{
    // The gallery once a process; what an earlier run in this process added after it goes.
    const GalleryState& gallery = LoadGallery();
    Surfaces().RemoveFrom(gallery.last + 1);
    RenderRequest request;
    const std::optional<CliAction> action = ParseRenderArguments(argc, argv, request, err);
    if (!action)
        return 2;
    switch (*action) {
    case CliAction::Help: std::fputs(RenderUsage().c_str(), out); return Finish(out);
    case CliAction::Version: std::fprintf(out, "vexilon-render %s\n", kVexilonVersion); return Finish(out);
    case CliAction::List:
        for (const FileProblem& problem : gallery.problems)
            std::fprintf(err, "vexilon-render: gallery: %s\n", problem.English().c_str());
        for (const SurfaceEntry* entry : Surfaces().Entries())
            std::fprintf(out, "%d\t%s\t%s\n", entry->number, entry->id.c_str(), entry->caption.c_str());
        return Finish(out);
    case CliAction::Render: break;
    }
    return RunRenderJob(request, out, err);
}
