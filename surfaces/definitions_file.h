// Files of surface definitions (the gallery, the user's own surfaces): a TOML array of tables
// [[surface]], each with id, caption, x, y, z, u = [A, B, N], v = [A, B, N] and optionally
// samples, families, fit and a table params.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "surfaces/typed_surface.h"

// Limits of a definitions file, so that reading one is bounded in memory and time.
constexpr long long kMaxDefinitionsFileBytes = 16LL * 1024 * 1024;   // 16 MB
constexpr int       kMaxSurfacesPerFile = 1000;
// The formulas of a file together (x, y, z and the ends of u and v): checking one costs time
// that grows faster than its length.
constexpr long long kMaxFormulaCharactersPerFile = 300000;

// A problem found in a file: where, and what, in both languages.
struct FileProblem {
    std::string file;
    int         line = 0;   // from 1; 0 when the file as a whole is at fault
    std::string english, spanish;

    std::string English() const;   // "FILE:LINE: what"
    std::string Spanish() const;   // "FILE, línea LINE: qué"
};

struct DefinitionsRead {
    std::vector<SurfaceDefinition> surfaces;   // the good entries, in file order
    std::vector<int>               lines;      // the line where each good entry starts
    std::vector<FileProblem>       problems;   // a bad entry is left out; the others are kept
};

// Reads definitions from text; fileName only names it in problems. Every entry is checked
// (formulas, ranges, limits), not sampled; the entries after the first kMaxSurfacesPerFile, or
// past kMaxFormulaCharactersPerFile, are left out with one problem.
DefinitionsRead ParseDefinitions(std::string_view text, const std::string& fileName);

// The same for a file; a file that cannot be read is one problem. Only a regular file is read (a
// folder, FIFO, device or socket is refused at once, naming what it is), and only up to
// kMaxDefinitionsFileBytes, counted while reading.
DefinitionsRead ReadDefinitionsFile(const std::string& path);

// The Spanish text of one message about problems: the first `shown`, one a line, then "y N más"
// when there are more, so that the message stays the same size however many there are.
std::string SpanishSummary(const std::vector<FileProblem>& problems, size_t shown);

// The TOML text of definitions, read back by ParseDefinitions as the same definitions.
std::string DefinitionsText(const std::vector<SurfaceDefinition>& surfaces);
