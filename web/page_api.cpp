// What the page asks of the session, as plain C functions the binding module calls: the page's
// ViewSession and OwnSurfaces, its files as bytes, "Definir…" (the picture is page_picture.cpp's,
// what moves page_motion.cpp's). The page's files (the gallery, superficies.toml) live in the
// WebAssembly's memory.
#include <emscripten/emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "export/figure_work.h"
#include "export/frame_encoder.h"
#include "export/output_format.h"
#include "session/definition_rules.h"
#include "session/definition_text.h"
#include "session/equation_text.h"
#include "session/own_surfaces.h"
#include "session/view_controls.h"
#include "session/view_session.h"
#include "surfaces/definitions_file.h"
#include "surfaces/gallery.h"
#include "surfaces/quoted_text.h"
#include "surfaces/typed_surface.h"
#include "web/gallery_text.h"
#include "web/page_json.h"
#include "web/page_state.h"

Page& ThePage()
{
    static Page page;
    return page;
}

const char* Answer(const std::string& text)
{
    Page& page = ThePage();
    page.bytes.assign(text.begin(), text.end());
    page.bytes.push_back(0);
    return reinterpret_cast<const char*>(page.bytes.data());
}

const unsigned char* Bytes(std::vector<unsigned char> bytes)
{
    ThePage().bytes = std::move(bytes);
    return ThePage().bytes.empty() ? nullptr : ThePage().bytes.data();
}

namespace {

// The page's files live in the module's memory; a native test of these functions roots them in a
// folder of its own.
#ifndef VEXILON_PAGE_ROOT
#define VEXILON_PAGE_ROOT ""
#endif
constexpr char kGalleryPath[] = VEXILON_PAGE_ROOT "/vexilon/gallery.toml";
constexpr char kOwnPath[] = VEXILON_PAGE_ROOT "/datos/superficies.toml";

// The formats the page offers: those its build can write, in the core's order.
std::vector<FormatInfo> PageFormats()
{
    std::vector<FormatInfo> formats;
    for (const FormatInfo& info : OutputFormats())
        if (FormatWritable(info.format))
            formats.push_back(info);
    return formats;
}

std::string ReadWhole(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteWhole(const char* path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

JsonArray ProblemsJson(const std::vector<FileProblem>& problems)
{
    JsonArray json;
    for (const FileProblem& problem : problems)
        json.Add(problem.Spanish());
    return json;
}

// The user's surfaces read anew from the page's superficies.toml (accepted ones are dropped).
std::vector<FileProblem> ReadOwnSurfaces()
{
    Page& page = ThePage();
    page.own = std::make_unique<OwnSurfaces>(page.surfaces);
    return page.own->Load(kOwnPath);
}

// What reading the gallery and the user's file at start found, kept for the page to show.
std::vector<FileProblem>& StartProblems()
{
    static std::vector<FileProblem> problems;
    return problems;
}

}  // namespace

OwnSurfaces& Own()
{
    if (!ThePage().own)
        StartProblems() = ReadOwnSurfaces();
    return *ThePage().own;
}

extern "C" {

// The page's files written: the gallery and the user's superficies.toml (its text, from the
// browser's storage); nothing read yet, so that one of the eight can be drawn at once.
EMSCRIPTEN_KEEPALIVE void vx_prepare(const char* ownText)
{
    mkdir(VEXILON_PAGE_ROOT "/vexilon", 0755);
    mkdir(VEXILON_PAGE_ROOT "/datos", 0755);
    WriteWhole(kGalleryPath, kGalleryText);
    setenv("VEXILON_GALLERY", kGalleryPath, 1);
    if (*ownText)
        WriteWhole(kOwnPath, ownText);
}

// The gallery and the user's surfaces read into the registry, once; returns the problems found,
// in Spanish, as a JSON list.
EMSCRIPTEN_KEEPALIVE const char* vx_read_surfaces()
{
    Own();
    return Answer(ProblemsJson(StartProblems()).Text());
}

// vx_prepare, then the gallery and the user's surfaces read (anew); the problems as vx_read_surfaces.
EMSCRIPTEN_KEEPALIVE const char* vx_start(const char* ownText)
{
    vx_prepare(ownText);
    StartProblems() = ReadOwnSurfaces();
    return Answer(ProblemsJson(StartProblems()).Text());
}

// The surfaces: the eight, then those of "Otra:", as JSON [{"n":1,"id":"…","caption":"…","own":false}];
// the eight alone before the gallery and the user's surfaces are read.
EMSCRIPTEN_KEEPALIVE const char* vx_surfaces()
{
    Page& page = ThePage();
    std::vector<const SurfaceEntry*> entries;
    for (SurfaceKind n = 1; n <= kBuiltinSurfaceCount; ++n)
        entries.push_back(page.surfaces.Find(n));
    const SurfaceKind galleryLast = page.own ? LoadGallery(page.surfaces).last : kBuiltinSurfaceCount;
    for (const SurfaceEntry* entry : page.own ? page.own->Listed() : std::vector<const SurfaceEntry*>())
        entries.push_back(entry);
    JsonArray json;
    for (const SurfaceEntry* entry : entries)
        json.Add(JsonObject()
                     .Add("n", entry->number)
                     .Add("id", entry->id)
                     .Add("caption", entry->caption)
                     .Add("own", entry->number > galleryLast));
    return Answer(json.Text());
}

EMSCRIPTEN_KEEPALIVE void vx_choose(int number) { ThePage().session.ChooseSurface(number); }
EMSCRIPTEN_KEEPALIVE void vx_reset_key() { ThePage().session.ResetKey(); }
EMSCRIPTEN_KEEPALIVE void vx_press(int x, int y) { ThePage().session.PressButton({x, y}); }
EMSCRIPTEN_KEEPALIVE void vx_release() { ThePage().session.ReleaseButton(); }
EMSCRIPTEN_KEEPALIVE void vx_move(int x, int y) { ThePage().session.MoveCursor({x, y}); }
EMSCRIPTEN_KEEPALIVE void vx_orbit_key(int dx, int dy) { ThePage().session.OrbitKey({dx, dy}); }
EMSCRIPTEN_KEEPALIVE void vx_wheel(int angleDelta) { ThePage().session.Wheel(angleDelta); }
EMSCRIPTEN_KEEPALIVE void vx_turn_tick() { ThePage().session.TurnTick(); }

namespace {

ViewBar BarOf(int bar) { return bar == 0 ? ViewBar::Zoom : ViewBar::Distance; }

}   // namespace

// bar 0 is "Z", 1 is "P"; code a BarStep's number (line up/down, thumb position); any other
// number changes nothing, as the end of a scroll. key: the bar's arrow standing for a key, which
// does nothing before the first surface.
EMSCRIPTEN_KEEPALIVE void vx_scroll(int bar, int code, int position, int key)
{
    const BarStep step = code >= static_cast<int>(BarStep::LineUp) && code <= static_cast<int>(BarStep::EndScroll)
                             ? static_cast<BarStep>(code)
                             : BarStep::EndScroll;
    if (key)
        ThePage().session.ScrollKey(BarOf(bar), step);
    else
        ThePage().session.Scroll(BarOf(bar), step, position);
}

EMSCRIPTEN_KEEPALIVE int vx_bar_position(int bar) { return ThePage().session.Bar(BarOf(bar)).position; }

// The top of bar's range: below 0 once "Encuadrar" has grown the zoom beyond 100.
EMSCRIPTEN_KEEPALIVE int vx_bar_least(int bar) { return ThePage().session.Bar(BarOf(bar)).minimum; }

EMSCRIPTEN_KEEPALIVE void vx_frame_to_fit() { ThePage().session.FrameToFit(); }

EMSCRIPTEN_KEEPALIVE int vx_frames() { return ThePage().session.FramesRendered(); }

// The output formats in the core's order that this build writes, as JSON [{"name":"png","extension":".png"}, …].
EMSCRIPTEN_KEEPALIVE const char* vx_formats()
{
    JsonArray json;
    for (const FormatInfo& info : PageFormats())
        json.Add(JsonObject().Add("name", info.name).Add("extension", info.extension));
    return Answer(json.Text());
}

// The shown frame as a file of format (an index of vx_formats), the bytes the command line
// writes; their count from vx_bytes_size, valid until the next call. size: the square's pixels a
// side, kPictureSizeMin to kPictureSizeMax.
EMSCRIPTEN_KEEPALIVE const unsigned char* vx_encode(int format, int size)
{
    Page& page = ThePage();
    const std::vector<FormatInfo> formats = PageFormats();
    if (!page.session.HasFrame() || format < 0 || format >= static_cast<int>(formats.size()) ||
        size < kPictureSizeMin || size > kPictureSizeMax)
        return Bytes({});
    FrameEncoder frame(formats[static_cast<std::size_t>(format)].format);
    FrameStyle style = page.session.Style();
    style.size = size;
    if (!WithinFigureWork(page.session.FrameWireframe(), style, frame.Format()))
        return Bytes({});   // a vector file too heavy to hold
    frame.Draw(page.session.FrameCamera(), page.session.FrameWireframe(), style);
    char* data = nullptr;
    std::size_t length = 0;
    std::FILE* stream = open_memstream(&data, &length);
    if (!stream)
        return Bytes({});
    const bool written = frame.Write(stream);
    const bool closed = std::fclose(stream) == 0;
    std::vector<unsigned char> bytes;
    if (written && closed)
        bytes.assign(data, data + length);
    std::free(data);
    return Bytes(std::move(bytes));
}

EMSCRIPTEN_KEEPALIVE int vx_bytes_size() { return static_cast<int>(ThePage().bytes.size()); }

// The page's superficies.toml as it stands, for the browser's storage and for exporting.
EMSCRIPTEN_KEEPALIVE const char* vx_own_text() { return Answer(ReadWhole(kOwnPath)); }

// Another superficies.toml added after the user's own: {"added":N,"problems":[…]}. Its entries
// that cannot be read, or whose id is taken, stay out; the user's file is kept as it was when
// nothing could be added.
EMSCRIPTEN_KEEPALIVE const char* vx_import(const char* text)
{
    const OwnSurfaces::Imported imported = Own().Import(text);
    return Answer(JsonObject().Add("added", imported.added).Add("problems", ProblemsJson(imported.problems)).Text());
}

// The user's surfaces read anew from text: an import or a save undone when the browser could not
// keep it.
EMSCRIPTEN_KEEPALIVE void vx_set_own_text(const char* text)
{
    WriteWhole(kOwnPath, text);
    ReadOwnSurfaces();
}

// The most bytes a superficies.toml may hold, for the page to measure a file before reading it.
EMSCRIPTEN_KEEPALIVE int vx_max_import_bytes() { return static_cast<int>(kMaxDefinitionsFileBytes); }

}  // extern "C"
