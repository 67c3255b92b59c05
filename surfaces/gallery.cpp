// Finding the gallery file and putting definitions into the registry.
#include "surfaces/gallery.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

std::filesystem::path ProgramDirectory()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

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
    return registry.Add(
        definition.id, definition.caption,
        [shared] {
            DefinitionProblem problem;
            std::optional<Wireframe> wire = BuildTypedSurface(*shared, problem);
            return wire ? std::move(*wire) : Wireframe{};
        },
        shared);
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

const GalleryState& LoadGallery(SurfaceRegistry& registry)
{
    if (!registry.Gallery()) {
        const std::string path = GalleryPath();
        const DefinitionsRead read = ReadDefinitionsFile(path);
        GalleryState state;
        state.problems = read.problems;
        AddDefinitions(registry, read, path, state.problems);
        state.last = registry.Count();
        registry.SetGallery(std::move(state));
    }
    return *registry.Gallery();
}
