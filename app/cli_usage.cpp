// The text of vexilon-render --help.
#include "app/cli_options.h"
#include "app/cli_values.h"

std::string RenderUsage()
{
    return "Usage: vexilon-render -s SURFACE [VIEW CHANGES...] [-o FILE] [--format " + FormatNames("|") + "]\n"
           "       vexilon-render --list | --help | --version\n"
           "\n"
           "Renders one frame of a surface as the viewer shows it right after the surface is chosen,\n"
           "then after each view change, in the order given.\n"
           "\n"
           "  -s, --surface S     a number or a name from --list (any case), e.g. 5 or toro\n"
           "      --zoom Z        set the zoom, 0 to 100 (the view starts at 50)\n"
           "      --distance D    put the eye at distance D, 20 to 300, on its current direction\n"
           "      --orbit TX,TY   one drag step: the cursor moved TX pixels right and TY down (repeatable)\n"
           "      --eye X,Y,Z     put the eye at X,Y,Z (not at the target, the origin)\n"
           "  -o, --output FILE   where to write; '-' is standard output\n"
           "      --format F      " + FormatNames(", ") + "; by default from the extension of FILE\n"
           "                      (" + ExtensionsSentence() + "); a trace without -o goes to standard output\n"
           "      --frames N      render N frames to NAME-0001.EXT ... from -o NAME.EXT: the first is the\n"
           "                      view the options give, each next one applies the --orbit steps again\n"
           "      --list          list the surfaces: number, name, caption\n"
           "  -h, --help          show this help\n"
           "      --version       show the version\n"
           "\n"
           "A trace has one line per drawing call of the surface, in order: 'M col row' for a move,\n"
           "'L col row' for a line-to, in pixels of the 500 x 500 square (origin top-left).\n"
           "Exit status: 0 done, 1 the output could not be written, 2 bad usage.\n";
}
