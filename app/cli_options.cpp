// The options of vexilon-render: one table, read with getopt_long, each option with its check.
#include "app/cli_options.h"

#include <getopt.h>

#include <cmath>
#include <string_view>

#include "app/cli_parsing.h"
#include "app/cli_values.h"
#include "app/translation.h"
#include "export/gif_encoder.h"
#include "geometry/view_changes.h"
#include "render/framing.h"
#include "render/theme.h"

namespace {

constexpr int kMaxFrames = 1000000;
constexpr int kFirstLongOnly = 256;   // getopt's values of options without a letter start here

double Number(const Parsing& p, std::string_view option, std::string_view text, double low, double high,
              std::string_view accepted)
{
    const std::optional<double> value = ParseDouble(text);
    if (!value)
        p.Fail(TrFormat("%1: %2 is not a number; accepted: %3", {std::string(option), Quote(text), std::string(accepted)}));
    if (*value < low || *value > high)
        p.Fail(TrFormat("%1: %2 is out of range; accepted: %3", {std::string(option), Quote(text), std::string(accepted)}));
    return *value;
}

using Apply = void (*)(Parsing& p, std::string_view value);

constexpr const char* kOwnOptions[] = {"--x", "--y", "--z", "--u", "--v", "--samples", "--families",
                                       "--param", "--no-fit", "--define", "--let", "--fit", "--sweep",
                                       "--implicit", "--box", "--grid", "--planes"};

template <int N>
void ReadOwn(Parsing& p, std::string_view value)
{
    std::string error;
    if (!ReadTypedOption(p.request.own, kOwnOptions[N], value, error))
        p.Fail(error);
}

struct OptionSpec {
    const char* name;         // the long name, without its dashes
    char        letter;       // the short name; 0 when there is none
    int         takesValue;   // getopt's no_argument (false), required_argument (true) or optional_argument
    Apply       apply;
};

const OptionSpec kOptions[] = {
    {"surface", 's', true, [](Parsing& p, std::string_view v) {
         const SurfaceEntry* entry = p.surfaces.FindId(v);
         if (const std::optional<int> n = ParseInt(v); !entry && n && v[0] != '+')
             entry = p.surfaces.Find(*n);
         if (!entry)
             p.request.own.pendingSurface = std::string(v);   // maybe from a --define file, read later
         else
             p.request.surface = entry->number;
         p.surfaceGiven = true;
     }},
    // Own surfaces: typed formulas and files of definitions.
    {"x", 0, true, ReadOwn<0>},
    {"y", 0, true, ReadOwn<1>},
    {"z", 0, true, ReadOwn<2>},
    {"u", 0, true, ReadOwn<3>},
    {"v", 0, true, ReadOwn<4>},
    {"samples", 0, true, ReadOwn<5>},
    {"families", 0, true, ReadOwn<6>},
    {"param", 0, true, ReadOwn<7>},
    {"no-fit", 0, false, ReadOwn<8>},
    {"define", 0, true, ReadOwn<9>},
    {"let", 0, true, ReadOwn<10>},
    {"fit", 0, true, ReadOwn<11>},
    {"sweep", 0, true, ReadOwn<12>},
    {"implicit", 0, true, ReadOwn<13>},
    {"box", 0, true, ReadOwn<14>},
    {"grid", 0, true, ReadOwn<15>},
    {"planes", 0, true, ReadOwn<16>},
    {"zoom", 0, true, [](Parsing& p, std::string_view v) {
         if (v == "auto")
             p.request.changes.push_back({ViewChange::Kind::ZoomAuto});
         else
             p.request.changes.push_back({ViewChange::Kind::Zoom, Number(p, "--zoom", v, kZoomMin, kZoomLargest,
                                                                         Tr("a number from 0 to 1000, or auto"))});
     }},
    {"distance", 0, true, [](Parsing& p, std::string_view v) {
         p.request.changes.push_back({ViewChange::Kind::Distance,
                                      Number(p, "--distance", v, kDistanceMin, kDistanceMax, Tr("a number from 20 to 300"))});
     }},
    {"orbit", 0, true, [](Parsing& p, std::string_view v) {
         const auto parts = SplitCommas(v);
         std::optional<int> tx, ty;
         if (parts.size() == 2) {
             tx = ParseInt(parts[0]);
             ty = ParseInt(parts[1]);
         }
         if (!tx || !ty)
             p.Fail(TrFormat("--orbit: %1 is not a pair of whole numbers; accepted: TX,TY, e.g. 100,0", {Quote(v)}));
         p.request.changes.push_back({ViewChange::Kind::Orbit, double(*tx), double(*ty)});
     }},
    {"eye", 0, true, [](Parsing& p, std::string_view v) {
         const auto parts = SplitCommas(v);
         std::optional<double> x, y, z;
         if (parts.size() == 3) {
             x = ParseDouble(parts[0]);
             y = ParseDouble(parts[1]);
             z = ParseDouble(parts[2]);
         }
         if (!x || !y || !z)
             p.Fail(TrFormat("--eye: %1 is not three numbers; accepted: X,Y,Z, e.g. 100,100,100", {Quote(v)}));
         if (*x == 0.0 && *y == 0.0 && *z == 0.0)
             p.Fail(TrFormat("--eye: %1 is the target; accepted: any other point", {Quote(v)}));
         if (!std::isfinite(VecLength({*x, *y, *z})))
             p.Fail(TrFormat("--eye: %1 is too far away; accepted: a point at a finite distance", {Quote(v)}));
         p.request.changes.push_back({ViewChange::Kind::Eye, *x, *y, *z});
     }},
    // How the frame is drawn: hidden lines, depth cue, stereo, projection, line width.
    {"hidden", 0, optional_argument, [](Parsing& p, std::string_view v) {
         if (!v.empty() && v != "dashed")
             p.Fail(TrFormat("--hidden: %1 is not a way of drawing hidden lines; accepted: --hidden, or --hidden=dashed", {Quote(v)}));
         p.request.style.hiddenLines = true;
         p.request.style.dashedHidden = v == "dashed";
     }},
    {"depth-cue", 0, false, [](Parsing& p, std::string_view) { p.request.style.depthCue = true; }},
    {"anaglyph", 0, false, [](Parsing& p, std::string_view) { p.request.style.anaglyph = true; }},
    {"swap-eyes", 0, false, [](Parsing& p, std::string_view) { p.request.style.swapEyes = true; }},
    {"parallel", 0, false, [](Parsing& p, std::string_view) { p.request.style.parallel = true; }},
    {"line-width", 0, true, [](Parsing& p, std::string_view v) {
         const std::optional<int> n = ParseInt(v);
         if (!n || *n < kLineWidthMin || *n > kLineWidthMax)
             p.Fail(TrFormat("--line-width: %1 is not a whole number from 1 to 4", {Quote(v)}));
         p.request.style.lineWidth = *n;
         p.lineWidthGiven = true;
     }},
    // The figure: its size, colours, axes and title.
    {"size", 0, true, [](Parsing& p, std::string_view v) {
         const std::optional<int> n = ParseInt(v);
         if (!n || *n < kPictureSizeMin || *n > kPictureSizeMax)
             p.Fail(TrFormat("--size: %1 is not a whole number from 100 to 8192", {Quote(v)}));
         p.request.style.size = *n;
     }},
    {"width", 0, true, [](Parsing& p, std::string_view v) {
         const std::optional<double> cm = ParseLengthCm(v);
         if (!cm || *cm < kPrintedWidthMinCm || *cm > kPrintedWidthMaxCm)
             p.Fail(TrFormat("--width: %1 is not a length from 0.5 cm to 500 cm; accepted: e.g. 8cm, 80mm, 3in or 200pt",
                             {Quote(v)}));
         p.request.style.printedWidthCm = *cm;
     }},
    {"theme", 0, true, [](Parsing& p, std::string_view v) {
         const std::optional<Theme> theme = ThemeNamed(v);
         if (!theme)
             p.Fail(TrFormat("--theme: unknown theme %1; accepted: %2", {Quote(v), ThemeNames(", ")}));
         p.request.style.theme = *theme;
     }},
    {"background", 0, true, [](Parsing& p, std::string_view v) {
         p.request.style.background = ColourNamed(v);
         if (!p.request.style.background)
             p.Fail(TrFormat("--%1: %2 is not a colour; accepted: %3, their English names, or #rrggbb", {"background", Quote(v), ColourNames(", ")}));
     }},
    {"color", 0, true, [](Parsing& p, std::string_view v) {
         p.request.style.lineColour = ColourNamed(v);
         if (!p.request.style.lineColour)
             p.Fail(TrFormat("--%1: %2 is not a colour; accepted: %3, their English names, or #rrggbb", {"color", Quote(v), ColourNames(", ")}));
     }},
    {"axes", 0, false, [](Parsing& p, std::string_view) { p.request.style.axes = true; }},
    {"ticks", 0, false, [](Parsing& p, std::string_view) { p.request.style.ticks = true; }},
    {"label", 0, false, [](Parsing& p, std::string_view) { p.request.label = true; }},
    {"section", 0, true, [](Parsing& p, std::string_view v) {
         p.request.style.section = ParseSectionPlane(v);
         if (!p.request.style.section)
             p.Fail(TrFormat("--section: %1 is not a plane; accepted: x=C, y=C or z=C, C a number, e.g. z=0.5", {Quote(v)}));
     }},
    {"title", 0, true, [](Parsing& p, std::string_view v) {
         if (!IsPrintableText(v) || v.size() > 200)
             p.Fail(TrFormat("--title: %1 cannot be written; accepted: one line of printable UTF-8 text, up to 200 bytes",
                           {Quote(v)}));
         p.request.style.title = std::string(v);
     }},
    {"scene", 0, true, [](Parsing& p, std::string_view v) {
         FormulaProblem problem;
         p.request.scene = DecodeScene(v, problem);
         if (!p.request.scene)
             p.Fail(SpanishMessages() ? problem.spanish : problem.english);
     }},
    {"output", 'o', true, [](Parsing& p, std::string_view v) {
         if (v.empty())
             p.Fail(Tr("--output: the file name is empty; accepted: a file name, or - for standard output"));
         p.request.output = std::string(v);
     }},
    {"format", 0, true, [](Parsing& p, std::string_view v) {
         p.format = FormatNamed(v);
         if (!p.format)
             p.Fail(TrFormat("--format: unknown format %1; accepted: %2", {Quote(v), FormatNames(", ")}));
     }},
    // Motion: the turn and the rate of an animated GIF.
    {"turn", 0, true, [](Parsing& p, std::string_view v) {
         const std::optional<int> n = ParseInt(v);
         if (!n || *n < 1 || *n > kMaxFrames)
             p.Fail(TrFormat("--turn: %1 is not a whole number from 1 to 1000000", {Quote(v)}));
         p.request.motion.turn = *n;
     }},
    {"turn-axis", 0, true, [](Parsing& p, std::string_view v) {
         if (v != "pantalla" && v != "z")
             p.Fail(TrFormat("--turn-axis: %1 is not an axis; accepted: pantalla or z", {Quote(v)}));
         p.request.motion.axis = v == "z" ? TurnAxis::Z : TurnAxis::Screen;
         p.request.motion.axisGiven = true;
     }},
    {"fps", 0, true, [](Parsing& p, std::string_view v) {
         const std::optional<int> n = ParseInt(v);
         if (!n || *n < kGifFpsMin || *n > kGifFpsMax)
             p.Fail(TrFormat("--fps: %1 is not a whole number from 1 to 50", {Quote(v)}));
         p.request.motion.fps = *n;
     }},
    {"frames", 0, true, [](Parsing& p, std::string_view v) {
         const std::optional<int> n = ParseInt(v);
         if (!n || *n < 1 || *n > kMaxFrames)
             p.Fail(TrFormat("--frames: %1 is not a whole number from 1 to 1000000", {Quote(v)}));
         p.request.frames = *n;
     }},
    {"list", 0, false, [](Parsing& p, std::string_view) { p.action = CliAction::List; }},
    {"help", 'h', false, [](Parsing& p, std::string_view) { p.action = CliAction::Help; }},
    {"version", 0, false, [](Parsing& p, std::string_view) { p.action = CliAction::Version; }},
};

std::string Spelling(const OptionSpec& row)
{
    return row.letter ? std::string{'-', row.letter} : "--" + std::string(row.name);
}

const OptionSpec* OptionOf(int value)
{
    for (const OptionSpec& row : kOptions)
        if ((row.letter && value == row.letter) || value == kFirstLongOnly + (&row - kOptions))
            return &row;
    return nullptr;
}

// Runs getopt_long over the table; stops at the first informational option.
void ReadOptions(Parsing& p, int argc, const char* const* argv)
{
    std::vector<option> longOptions;
    std::string letters = "+:";   // no reordering: view changes apply in the order given
    for (const OptionSpec& row : kOptions) {
        const int value = row.letter ? row.letter : kFirstLongOnly + static_cast<int>(&row - kOptions);
        longOptions.push_back({row.name, row.takesValue, nullptr, value});
        if (row.letter)
            letters += std::string(1, row.letter) + (row.takesValue == required_argument ? ":" : row.takesValue ? "::" : "");
    }
    longOptions.push_back({nullptr, 0, nullptr, 0});
    std::vector<char*> args;   // getopt never writes the strings, and with '+' never moves them
    for (int i = 0; i < argc; ++i)
        args.push_back(const_cast<char*>(argv[i]));
    args.push_back(nullptr);
    optind = 0;   // a whole new scan, also when called again in the same process
    opterr = 0;
    for (int c; (c = getopt_long(argc, args.data(), letters.c_str(), longOptions.data(), nullptr)) != -1;) {
        if (c == ':')
            p.Fail(TrFormat("%1 needs a value; see --help", {Spelling(*OptionOf(optopt))}));
        if (c == '?') {
            if (const OptionSpec* row = optopt >= kFirstLongOnly ? OptionOf(optopt) : nullptr)
                p.Fail(TrFormat("--%1 takes no value; see --help", {std::string(row->name)}));
            std::string_view written = optopt ? std::string_view() : std::string_view(args[optind - 1]);
            written = written.substr(0, written.find('='));
            p.Fail(TrFormat("unknown option %1; see --help",
                            {Quote(optopt ? std::string{'-', static_cast<char>(optopt)} : std::string(written))}));
        }
        const OptionSpec& row = *OptionOf(c);
        row.apply(p, optarg ? std::string_view(optarg) : std::string_view());
        if (p.action)
            return;
    }
    if (optind < argc)
        p.Fail(TrFormat("unexpected argument %1; see --help", {Quote(argv[optind])}));
}

}   // namespace

std::optional<CliAction> ParseRenderArguments(SurfaceRegistry& surfaces, int argc, const char* const* argv,
                                              RenderRequest& request, std::FILE* err)
{
    Parsing p{surfaces, request, err, std::nullopt, false, std::nullopt};
    try {
        ReadOptions(p, argc, argv);
        if (p.action)
            return p.action;
        CheckRequest(p);
    } catch (const UsageError&) {
        return std::nullopt;
    }
    return CliAction::Render;
}
