// main() of vexilon-render: the command line renderer, no window system needed.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>

#include "app/render_cli.h"
#include "app/translation.h"

int main(int argc, char** argv)
{
    int status = 1;
    StartTranslation();
    try {
        SurfaceRegistry surfaces;   // the built-in eight; the gallery and the user's join on demand
        status = RunRenderCli(surfaces, argc, argv, stdout, stderr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vexilon-render: %s\n", e.what());
    }
    // Closing standard output can still fail (a file system that reports at close): told unless
    // something was told already or the reader has gone.
    if (std::fclose(stdout) != 0 && status == 0) {
        if (errno != EPIPE)
            std::fprintf(stderr, "vexilon-render: write error: %s\n", std::strerror(errno));
        status = 1;
    }
    return status;
}
