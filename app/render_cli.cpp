// vexilon-render: one frame of one surface, from the view of a fresh choice and the changes given.
#include "app/render_cli.h"

#include <cerrno>
#include <cstring>

#include "app/cli_options.h"
#include "app/cli_values.h"
#include "app/render_job.h"
#include "app/translation.h"
#include "surfaces/gallery.h"
#include "surfaces/registry.h"
#include "version.h"

namespace {

// Standard output checked at the end, as the GNU tools do: a failed write is told, a closed pipe
// is not (its reader has gone on purpose).
int Finish(std::FILE* out, std::FILE* err)
{
    if (std::fflush(out) == 0 && !std::ferror(out))
        return 0;
    if (errno != EPIPE)
        std::fprintf(err, Tr("vexilon-render: write error: %s\n"), errno ? std::strerror(errno) : Tr("unknown error"));
    return 1;
}

}   // namespace

int RunRenderCli(SurfaceRegistry& surfaces, int argc, const char* const* argv, std::FILE* out, std::FILE* err)
{
    errno = 0;   // Finish reads the reason of a write that failed before it
    // The gallery is read only when a surface beyond the eight is asked for: a built-in one starts
    // faster.
    RenderRequest request;
    const std::optional<CliAction> action = ParseRenderArguments(surfaces, argc, argv, request, err);
    if (!action)
        return 2;
    switch (*action) {
    case CliAction::Help: std::fputs(RenderUsage().c_str(), out); return Finish(out, err);
    case CliAction::Version: std::fprintf(out, "vexilon-render %s\n", kVexilonVersion); return Finish(out, err);
    case CliAction::List: {
        for (const FileProblem& problem : LoadGallery(surfaces).problems)
            std::fprintf(err, Tr("vexilon-render: gallery: %s\n"), DescribeFileProblem(problem).c_str());
        std::string error;
        SurfaceKind none = kSurfaceNone;
        if (!ResolveOwnSurfaces(surfaces, request.own, none, true, error)) {   // --define files are listed too
            std::fprintf(err, "vexilon-render: %s\n", error.c_str());
            return 2;
        }
        for (const SurfaceEntry* entry : surfaces.Entries())
            std::fprintf(out, "%d\t%s\t%s\n", entry->number, entry->id.c_str(), entry->caption.c_str());
        return Finish(out, err);
    }
    case CliAction::Render: break;
    }
    return RunRenderJob(surfaces, request, out, err);
}

int RunRenderCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err)
{
    SurfaceRegistry surfaces;
    return RunRenderCli(surfaces, argc, argv, out, err);
}
