// What the window keeps of the user's own surfaces: the saved ones, the one accepted without
// saving, the preview, and where the file lives.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <QString>

#include "surfaces/definitions_file.h"
#include "surfaces/registry.h"

constexpr SurfaceKind kPreviewSurface = -1;   // the window's number for the dialog's preview
constexpr char kOwnSurfacesFile[] = "superficies.toml";

struct COwnSurfaceState {
    SurfaceKind                      galleryLast = kBuiltinSurfaceCount;
    std::vector<SurfaceDefinition>   saved;      // the user's file, in its order
    std::optional<SurfaceDefinition> session;    // accepted in the dialog, not saved: after the saved ones
    std::shared_ptr<const Wireframe> sessionWire;   // the session's, as the preview sampled it; may be null
    std::shared_ptr<const Wireframe> preview;    // drawn for kPreviewSurface
    QString                          filePath;   // superficies.toml in the user's data folder
    bool                             fileHadProblems = false;   // then a copy is kept before saving
};

// An id for a caption: lower-case ASCII letters and digits joined by '-', accents dropped, made
// unique against taken with "-2", "-3", ...; "propia" for a caption with no letter or digit.
std::string OwnIdFor(const std::string& caption, const std::set<std::string>& taken);

// The user's file: QStandardPaths' AppDataLocation / superficies.toml.
QString OwnSurfacesPath();
