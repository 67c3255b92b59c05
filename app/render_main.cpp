// main() of vexilon-render: the command line renderer, no window system needed.
#include <cstdio>
#include <exception>

#include "app/render_cli.h"

int main(int argc, char** argv)
{
    try {
        return RunRenderCli(argc, argv, stdout, stderr);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vexilon-render: %s\n", e.what());
        return 1;
    }
}
