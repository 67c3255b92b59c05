// vexilon-render: one frame of one surface, from the view of a fresh choice and the changes given.
#include "app/render_cli.h"

#include <cerrno>
#include <cstring>

#include "app/cli_options.h"
#include "app/render_job.h"
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
        std::fprintf(err, "vexilon-render: write error: %s\n", errno ? std::strerror(errno) : "unknown error");
    return 1;
}

}   // namespace

int RunRenderCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err)
{
    errno = 0;   // Finish reads the reason of a write that failed before it
    RenderRequest request;
    const std::optional<CliAction> action = ParseRenderArguments(argc, argv, request, err);
    if (!action)
        return 2;
    switch (*action) {
    case CliAction::Help: std::fputs(RenderUsage().c_str(), out); return Finish(out, err);
    case CliAction::Version: std::fprintf(out, "vexilon-render %s\n", kVexilonVersion); return Finish(out, err);
    case CliAction::List:
        for (const SurfaceEntry* entry : Surfaces().Entries())
            std::fprintf(out, "%d\t%s\t%s\n", entry->number, entry->id.c_str(), entry->caption.c_str());
        return Finish(out, err);
    case CliAction::Render: break;
    }
    return RunRenderJob(request, out, err);
}
