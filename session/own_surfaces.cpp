// The user's own surfaces: ids, the file, and their place in the registry.
#include "session/own_surfaces.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "export/file_writer.h"
#include "session/definition_rules.h"
#include "surfaces/gallery.h"
#include "surfaces/quoted_text.h"

namespace {

// The base letter of U+00C0 to U+017F as a decomposition leaves it, lower case; '.' where the
// letter has no decomposition to an ASCII letter (Æ, Ø, ß, Ł, …) and is dropped.
constexpr char kLatinBase[] =
    "aaaaaa.ceeeeiiii.nooooo..uuuuy.."   // U+00C0
    "aaaaaa.ceeeeiiii.nooooo..uuuuy.y"   // U+00E0
    "aaaaaaccccccccdd..eeeeeeeeeegggg"   // U+0100
    "gggghh..iiiiiiiii...jjkk.llllll."   // U+0120
    "...nnnnnn...oooooo..rrrrrrssssss"   // U+0140
    "sstttt..uuuuuuuuuuuuwwyyyzzzzzz.";  // U+0160
static_assert(sizeof kLatinBase - 1 == 0x180 - 0xC0, "one letter for each code point");

// The next code point of text from i on, advancing i; U+FFFD for a malformed sequence.
std::uint32_t NextCodePoint(const std::string& text, size_t& i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i++);
    if (lead < 0x80)
        return lead;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (more < 0)
        return 0xFFFD;
    std::uint32_t code = lead & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80)
            return 0xFFFD;
        code = code << 6 | (byte(i++) & 0x3F);
    }
    return code;
}

}   // namespace

std::string OwnIdFor(const std::string& caption, const std::set<std::string>& taken)
{
    std::string id;
    for (size_t i = 0; i < caption.size();) {
        const std::uint32_t c = NextCodePoint(caption, i);
        char plain = 0;
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            plain = static_cast<char>(c);
        else if (c >= 'A' && c <= 'Z')
            plain = static_cast<char>(c - 'A' + 'a');
        else if (c >= 0xC0 && c < 0x180 && kLatinBase[c - 0xC0] != '.')
            plain = kLatinBase[c - 0xC0];
        if (plain != 0)
            id += plain;
        else if (c == ' ' || c == '\t' || c == '\n' || c == '-' || c == '_' || c == 0xA0)
            id += id.empty() || id.back() == '-' ? "" : "-";
    }
    while (!id.empty() && id.back() == '-')
        id.pop_back();
    if (id.size() > 30)
        id.resize(30);
    if (id.empty() || id.find_first_not_of("0123456789-") == std::string::npos)
        id = "propia" + (id.empty() ? "" : "-" + id);
    std::string unique = id;
    for (int n = 2; taken.count(unique) > 0; ++n)
        unique = id + "-" + std::to_string(n);
    return unique;
}

bool SameSurface(const SurfaceDefinition& a, const SurfaceDefinition& b)
{
    return a.caption == b.caption && a.xyz == b.xyz && a.u.from == b.u.from && a.u.to == b.u.to &&
           a.u.lines == b.u.lines && a.v.from == b.v.from && a.v.to == b.v.to && a.v.lines == b.v.lines &&
           a.samples == b.samples && a.families == b.families && a.fit == b.fit && a.params == b.params &&
           a.equation == b.equation && a.box == b.box && a.grid == b.grid && a.sections == b.sections && a.planes == b.planes;
}

OwnSurfaces::OwnSurfaces(SurfaceRegistry& surfaces) : m_surfaces(surfaces)
{
    const GalleryState& gallery = LoadGallery(surfaces);
    m_galleryLast = gallery.last;
    m_galleryProblems = gallery.problems;
}

std::vector<FileProblem> OwnSurfaces::Load(const std::string& path)
{
    m_path = path;
    std::vector<FileProblem> problems = m_galleryProblems;
    // A link is read even when it leads nowhere, so that a broken or looping one is reported.
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
        const DefinitionsRead read = ReadDefinitionsFile(path);
        problems.insert(problems.end(), read.problems.begin(), read.problems.end());
        std::set<std::string> seen;   // lower case, as the registry compares ids
        for (size_t i = 0; i < read.surfaces.size(); ++i) {
            const SurfaceDefinition& def = read.surfaces[i];
            std::string lower = def.id;
            for (char& c : lower)
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            const std::string id = QuoteSpanish(def.id);
            const SurfaceEntry* taken = m_surfaces.FindId(def.id);
            const bool acceptedId = std::any_of(m_accepted.begin(), m_accepted.end(), [&](const SurfaceDefinition& d) {
                return m_surfaces.FindId(d.id) == taken;
            });
            if (taken && taken->number <= m_galleryLast)
                problems.push_back({path, read.lines[i], "", "superficie " + id + ": el id " + id + " ya está en uso en la galería"});
            else if (taken && acceptedId)   // an import beside the surfaces accepted meanwhile
                problems.push_back({path, read.lines[i], "", "superficie " + id + ": el id " + id + " ya está en uso"});
            else if (!seen.insert(lower).second)
                problems.push_back({path, read.lines[i], "", "superficie " + id + ": el id " + id + " está repetido; se conserva la primera"});
            else
                m_saved.push_back(def);
        }
        m_fileHadProblems = !read.problems.empty() || m_saved.size() != read.surfaces.size();
    }
    Register();
    return problems;
}

void OwnSurfaces::Register()
{
    m_surfaces.RemoveFrom(m_galleryLast + 1);
    for (const SurfaceDefinition& def : m_saved)
        AddDefinition(m_surfaces, def);
    for (size_t i = 0; i < m_accepted.size(); ++i) {
        const SurfaceDefinition& def = m_accepted[i];
        if (const std::shared_ptr<const Wireframe>& wire = m_acceptedWires[i])   // the preview's, not a second sampling
            m_surfaces.Add(def.id, def.caption, [wire] { return *wire; }, std::make_shared<const SurfaceDefinition>(def));
        else
            AddDefinition(m_surfaces, def);
    }
}

bool OwnSurfaces::WriteFile(const std::string& text, std::string& error) const
{
    const std::filesystem::path folder = std::filesystem::absolute(m_path).parent_path();
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    if (made) {
        error = "No se pudo crear la carpeta " + folder.string() + ".";
        return false;
    }
    std::string why;
    if (WriteFileAtomically(m_path,
                            [&](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); },
                            why))
        return true;
    error = "No se pudo guardar " + m_path + ": " + why;
    return false;
}

void OwnSurfaces::Reload()
{
    m_saved.clear();
    m_fileHadProblems = false;
    Load(m_path);
}

bool OwnSurfaces::Save(const SurfaceDefinition& definition, std::string& error)
{
    if (error = SaveRefusal(definition); !error.empty())
        return false;
    std::vector<SurfaceDefinition> saved = m_saved;
    auto same = std::find_if(saved.begin(), saved.end(), [&](const SurfaceDefinition& d) { return d.caption == definition.caption; });
    SurfaceDefinition entry = definition;
    if (same != saved.end()) {
        entry.id = same->id;   // the same name: the user edits that surface
        *same = entry;
    } else {
        std::set<std::string> taken;
        for (const SurfaceEntry* e : m_surfaces.Entries())
            if (e->number <= m_galleryLast)
                taken.insert(e->id);
        for (const SurfaceDefinition& d : saved)
            taken.insert(d.id);
        for (const SurfaceDefinition& d : m_accepted)
            taken.insert(d.id);
        taken.insert(kAcceptedId);
        entry.id = OwnIdFor(entry.caption, taken);
        saved.push_back(entry);
    }
    // A file that had unreadable entries is kept aside once, so saving loses none of them.
    std::error_code copied;
    if (m_fileHadProblems && std::filesystem::exists(m_path, copied))
        std::filesystem::copy_file(m_path, m_path + ".anterior", std::filesystem::copy_options::skip_existing, copied);
    if (!WriteFile(DefinitionsText(saved), error))
        return false;
    m_fileHadProblems = false;
    m_saved = std::move(saved);
    // An accepted surface now saved as it is would stand twice in the list.
    for (size_t i = m_accepted.size(); i-- > 0;)
        if (SameSurface(m_accepted[i], entry)) {
            m_accepted.erase(m_accepted.begin() + static_cast<std::ptrdiff_t>(i));
            m_acceptedWires.erase(m_acceptedWires.begin() + static_cast<std::ptrdiff_t>(i));
        }
    Register();
    return true;
}

OwnSurfaces::Imported OwnSurfaces::Import(const std::string& text)
{
    std::ifstream in(m_path, std::ios::binary);
    const std::string kept{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // Measured before it is parsed, as a file is read: alone, and beside the user's own.
    const long long size = static_cast<long long>(text.size()), limit = kMaxDefinitionsFileBytes / (1024 * 1024);
    if (size > kMaxDefinitionsFileBytes || static_cast<long long>(kept.size()) + 1 + size > kMaxDefinitionsFileBytes) {
        const std::string why = size > kMaxDefinitionsFileBytes
            ? "ocupa más de " + std::to_string(limit) + " MB; se aceptan archivos de hasta " + std::to_string(limit) + " MB"
            : "junto a sus superficies pasaría de " + std::to_string(limit) + " MB, lo más que se guarda; exporte y quite algunas";
        return {0, {{kOwnSurfacesFile, 0, "", why}}};
    }
    const DefinitionsRead read = ParseDefinitions(text, kOwnSurfacesFile);
    if (read.surfaces.empty())   // nothing to add: the user's file is not touched, nor made
        return {0, read.problems};
    const size_t before = m_saved.size();
    std::string error;
    if (!WriteFile(kept.empty() ? text : kept + "\n" + text, error))
        return {0, {{kOwnSurfacesFile, 0, "", error}}};
    Reload();
    Imported imported{m_saved.size() > before ? m_saved.size() - before : 0, read.problems};
    if (imported.added == 0) {
        WriteFile(kept, error);
        Reload();
    }
    if (imported.added < read.surfaces.size())
        imported.problems.push_back({kOwnSurfacesFile, 0, "", std::to_string(read.surfaces.size() - imported.added) +
                                     " superficies no se añadieron: su id ya está en uso"});
    return imported;
}

SurfaceKind OwnSurfaces::Accept(const SurfaceDefinition& definition, std::shared_ptr<const Wireframe> sampled)
{
    SurfaceDefinition def = definition;
    if (def.caption.empty())
        def.caption = "Superficie propia";
    for (const SurfaceDefinition& d : m_saved)
        if (SameSurface(d, def))
            return m_surfaces.FindId(d.id)->number;
    for (const SurfaceDefinition& d : m_accepted)
        if (SameSurface(d, def))
            return m_surfaces.FindId(d.id)->number;
    std::set<std::string> taken;
    for (const SurfaceEntry* e : m_surfaces.Entries())
        taken.insert(e->id);
    def.id = OwnIdFor(kAcceptedId, taken);   // "formulas", then "formulas-2", …
    m_accepted.push_back(def);
    m_acceptedWires.push_back(std::move(sampled));
    Register();
    return m_surfaces.FindId(def.id)->number;
}

SurfaceDefinition OwnSurfaces::StartingDefinition(SurfaceKind shown) const
{
    if (const SurfaceEntry* entry = m_surfaces.Find(shown); entry && entry->number > m_galleryLast) {
        for (const SurfaceDefinition& d : m_saved)
            if (d.id == entry->id)
                return d;
        for (const SurfaceDefinition& d : m_accepted)
            if (d.id == entry->id)
                return d;
    }
    if (!m_accepted.empty())
        return m_accepted.back();
    // The unit sphere, which fits as the built-in one.
    SurfaceDefinition def;
    def.caption = "Mi superficie";
    def.xyz = {"cos(u)*cos(v)", "sin(u)*cos(v)", "sin(v)"};
    def.u = {"0", "2*pi", 25};
    def.v = {"-pi/2", "pi/2", 13};
    return def;
}

std::vector<const SurfaceEntry*> OwnSurfaces::Listed() const
{
    std::vector<const SurfaceEntry*> listed;
    for (const SurfaceEntry* entry : m_surfaces.Entries())
        if (entry->number > kBuiltinSurfaceCount)
            listed.push_back(entry);
    return listed;
}
