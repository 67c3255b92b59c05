// The surfaces the program can draw: number, command-line id, Spanish caption and how each one is
// traced. The eight built-in surfaces are numbered 1 to 8; more are added at run time after them.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "surfaces/definitions_file.h"
#include "surfaces/wireframe.h"

using SurfaceKind = int;   // a surface's number; 0 = none; unknown numbers draw nothing

constexpr SurfaceKind kSurfaceNone = 0;
constexpr SurfaceKind kMoebius = 1, kSaddle = 2, kSphere = 3, kSine = 4;
constexpr SurfaceKind kTorus = 5, kPseudosphere = 6, kSpiralStair = 7, kLeonardoStair = 8;
constexpr int kBuiltinSurfaceCount = 8;

// Where the gallery stands in a registry once it is read into it (surfaces/gallery.h).
struct GalleryState {
    SurfaceKind              last = kBuiltinSurfaceCount;   // the gallery takes the numbers up to it
    std::vector<FileProblem> problems;                      // a missing or broken file, bad entries
};

struct SurfaceEntry {
    SurfaceKind                number;    // its place in the registry, from 1
    std::string                id;        // the command-line name, lower case
    std::string                caption;   // Spanish, as a button or a list shows it
    std::function<Wireframe()> trace;     // records the surface's wireframe; called once
    std::shared_ptr<const SurfaceDefinition> definition;   // its formulas, when it is given by them
};

// The surfaces of one program run: each program's main makes one and hands it down, and a test
// makes its own, so no run sees another's additions.
class SurfaceRegistry {
public:
    SurfaceRegistry();   // the eight built-in surfaces
    SurfaceRegistry(const SurfaceRegistry&) = delete;
    SurfaceRegistry& operator=(const SurfaceRegistry&) = delete;

    // Adds a surface under the next number and returns that number, in constant time; an empty id
    // or one already taken (in any case) adds nothing and returns kSurfaceNone.
    SurfaceKind Add(std::string id, std::string caption, std::function<Wireframe()> trace,
                    std::shared_ptr<const SurfaceDefinition> definition = nullptr);

    // Removes the surfaces numbered first and after (never the eight built-in ones), so a list
    // loaded at run time can be loaded again. Nobody may hold their entries or wireframes.
    void RemoveFrom(SurfaceKind first);

    const SurfaceEntry* Find(SurfaceKind number) const;      // null for unknown numbers
    const SurfaceEntry* FindId(std::string_view id) const;   // ASCII case ignored; null when none
    int Count() const;                                       // the numbers run from 1 to Count()
    std::vector<const SurfaceEntry*> Entries() const;        // in number order

    // The surface's wireframe, traced on first use and kept; the empty one for unknown numbers.
    // Safe to call from several threads.
    const Wireframe& WireframeOf(SurfaceKind number) const;

    // The gallery once read into this registry; empty before (surfaces/gallery.h fills it).
    const std::optional<GalleryState>& Gallery() const { return m_gallery; }
    void SetGallery(GalleryState gallery) { m_gallery = std::move(gallery); }

private:
    struct Slot {
        SurfaceEntry           entry;
        mutable std::once_flag traced;
        mutable Wireframe      wire;
    };
    const Slot* SlotOf(SurfaceKind number) const;

    mutable std::mutex m_mutex;   // guards the growth of m_slots; slots never move once added
    std::deque<Slot>   m_slots;
    std::unordered_map<std::string, SurfaceKind> m_numbers;   // by lower-case id: adding is not a scan
    std::optional<GalleryState> m_gallery;
};

// The wireframe of one of the eight built-in surfaces, traced once a process and never changed
// after; the empty one for any other number. Safe to call from several threads.
const Wireframe& BuiltinWireframe(SurfaceKind kind);
