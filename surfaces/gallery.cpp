// Finding the gallery file and putting definitions into the registry.
#include "surfaces/gallery.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>

namespace {

std::filesystem::path ProgramDirectory()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

// What AddDefinition added to Surfaces(), by number; the id tells a number taken again after a removal.
std::mutex g_definitionsMutex;
std::map<SurfaceKind, std::shared_ptr<const SurfaceDefinition>> g_definitions;

}   // namespace

std::string GalleryPath()
{
    if (const char* path = std::getenv("VEXILON_GALLERY"); path && *path)
        return path;
    const std::filesystem::path dir = ProgramDirectory();
    const std::filesystem::path installed = dir.parent_path() / "share" / "vexilon" / "gallery.toml";
    std::error_code error;
    if (!dir.empty() && std::filesystem::exists(installed, error))
        return installed.string();
    return (dir / "gallery.toml").string();
}

SurfaceKind AddDefinition(SurfaceRegistry& registry, const SurfaceDefinition& definition)
{
    auto shared = std::make_shared<const SurfaceDefinition>(definition);
    const SurfaceKind number = registry.Add(definition.id, definition.caption, [shared] {
        DefinitionProblem problem;
        std::optional<Wireframe> wire = BuildTypedSurface(*shared, problem);
        return wire ? std::move(*wire) : Wireframe{};
    });
    if (number != kSurfaceNone && &registry == &Surfaces()) {
        const std::lock_guard<std::mutex> lock(g_definitionsMutex);
        g_definitions[number] = shared;
    }
    return number;
}

std::optional<SurfaceDefinition> DefinitionOf(SurfaceKind number)
{
    const SurfaceEntry* entry = Surfaces().Find(number);
    const std::lock_guard<std::mutex> lock(g_definitionsMutex);
    const auto found = g_definitions.find(number);
    if (!entry || found == g_definitions.end() || found->second->id != entry->id)
        return std::nullopt;
    return *found->second;
}

std::vector<SurfaceKind> AddDefinitions(SurfaceRegistry& registry, const DefinitionsRead& read,
                                        const std::string& file, std::vector<FileProblem>& problems)
{
    std::vector<SurfaceKind> added;
    for (size_t i = 0; i < read.surfaces.size(); ++i) {
        const SurfaceDefinition& def = read.surfaces[i];
        const SurfaceKind number = AddDefinition(registry, def);
        if (number == kSurfaceNone) {
            problems.push_back({file, read.lines[i], "surface '" + def.id + "': the id '" + def.id + "' is already taken",
                                "superficie «" + def.id + "»: el id «" + def.id + "» ya está en uso"});
        } else {
            added.push_back(number);
        }
    }
    return added;
}

namespace {

std::atomic<bool> g_galleryLoaded{false};

}   // namespace

bool GalleryLoaded()
{
    return g_galleryLoaded.load();
}

const GalleryState& LoadGallery()
{
    static GalleryState state;
    static std::once_flag once;
    std::call_once(once, [] {
        g_galleryLoaded = true;
        const std::string path = GalleryPath();
        const DefinitionsRead read = ReadDefinitionsFile(path);
        state.problems = read.problems;
        AddDefinitions(Surfaces(), read, path, state.problems);
        state.last = Surfaces().Count();
    });
    return state;
}
