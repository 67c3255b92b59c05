// The user's own surfaces: those saved in their file and those accepted without saving since the
// program started, put into the registry after the gallery; their ids; and the file itself,
// read at start and written whole through the safe writer.
#pragma once

#include <cstddef>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "surfaces/definitions_file.h"
#include "surfaces/registry.h"

constexpr char kOwnSurfacesFile[] = "superficies.toml";
constexpr char kAcceptedId[] = "formulas";   // the ids of accepted, unsaved surfaces start so
constexpr size_t kProblemsShown = 5;         // in the message at start; the rest are counted

// An id for a caption: lower-case ASCII letters and digits joined by '-', accents dropped, made
// unique against taken with "-2", "-3", ...; "propia" for a caption with no letter or digit.
std::string OwnIdFor(const std::string& caption, const std::set<std::string>& taken);

// Whether two definitions draw the same surface under the same caption; ids are not compared.
bool SameSurface(const SurfaceDefinition& a, const SurfaceDefinition& b);

class OwnSurfaces {
public:
    // Reads the gallery into surfaces, if it is not there yet; the user's surfaces come after it.
    explicit OwnSurfaces(SurfaceRegistry& surfaces);

    // Reads the user's file at path, when there is one (a link even when it leads nowhere), by
    // the rules of every definitions file, and registers its good entries; an id the gallery has
    // or an earlier entry repeats is a problem. Returns what could not be read, of the gallery and
    // of the file, to be shown to the user (SpanishSummary says it in bounded size).
    std::vector<FileProblem> Load(const std::string& path);

    const std::vector<SurfaceDefinition>& Saved() const { return m_saved; }
    const std::vector<SurfaceDefinition>& Accepted() const { return m_accepted; }

    // Saves definition in the file under its caption (SaveRefusal's rule first): the saved surface of that caption is
    // replaced, else one with a new id is added. A file that had unreadable entries is copied
    // once to "FILE.anterior" first. False with a Spanish sentence in error; the file and the
    // registry are then as before.
    bool Save(const SurfaceDefinition& definition, std::string& error);

    // Another superficies.toml's text added after the user's own in the file: its entries that
    // cannot be read, or whose id is taken, stay out; the file is kept as it was when none could be
    // added, or when the text alone or beside the file would pass kMaxDefinitionsFileBytes.
    // Returns how many were added and, in Spanish, what stayed out.
    struct Imported {
        size_t                   added = 0;
        std::vector<FileProblem> problems;
    };
    Imported Import(const std::string& text);

    // The surface to show for definition accepted in the dialog: the saved one when it is the
    // same surface, else an accepted one, new unless the same was accepted before. Every
    // accepted surface stays listed until the program ends.
    // sampled, when given, is the definition's wireframe already made (the dialog's preview): it
    // is drawn as it is instead of being sampled again.
    SurfaceKind Accept(const SurfaceDefinition& definition, std::shared_ptr<const Wireframe> sampled = nullptr);

    // What the dialog starts from: the user's surface shown, else the last accepted one, else the
    // unit sphere.
    SurfaceDefinition StartingDefinition(SurfaceKind shown) const;

    // The gallery's and the user's surfaces, in number order, for the list of "Otra:".
    std::vector<const SurfaceEntry*> Listed() const;

private:
    void Register();   // the saved, then the accepted, after the gallery
    bool WriteFile(const std::string& text, std::string& error) const;
    void Reload();     // the saved surfaces read anew from the file

    SurfaceRegistry&               m_surfaces;
    SurfaceKind                    m_galleryLast;
    std::vector<FileProblem>       m_galleryProblems;
    std::string                    m_path;        // the user's file
    bool                           m_fileHadProblems = false;   // then a copy is kept before saving
    std::vector<SurfaceDefinition> m_saved;       // the user's file, in its order
    std::vector<SurfaceDefinition> m_accepted;    // accepted, not saved, in the order accepted
    std::vector<std::shared_ptr<const Wireframe>> m_acceptedWires;   // each one's sampling, or null
};
