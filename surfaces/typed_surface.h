// A surface given by formulas x(u,v), y(u,v), z(u,v) over ranges of u and v: its definition, its
// limits, and its wireframe sampled once, fitted to the square as the eight are.
#pragma once

#include <array>
#include <atomic>
#include <deque>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "surfaces/expression.h"
#include "surfaces/wireframe.h"

constexpr int    kMaxLinesPerFamily = 1000;
constexpr int    kMaxSamplesPerLine = 10000;
constexpr long   kMaxSamplesInAll = 2000000;
constexpr int    kMaxParameters = 50;      // per surface
constexpr int    kMaxLets = 100;           // per surface
// The characters of x, y and z together times the samples in all: what sampling costs, kept so
// that any accepted surface is sampled and drawn in a few seconds.
constexpr long long kMaxFormulaWork = 200000000;
constexpr int    kDefaultSamples = 61;     // 60 steps a line: curves look smooth at the first view
constexpr int    kDefaultLines = 25;       // lines a family when a count is not given
constexpr double kFitRadius = 35.0;        // the sphere's radius: the farthest sample after fitting

// The typed surface's id in the registry: no file may take it.
constexpr char kTypedSurfaceId[] = "formulas";

enum class Families { U, V, UV, None };   // lines of constant u, of constant v, both, or neither (sections only)

// Equation surfaces and plane sections.
constexpr int kDefaultGrid = 40;     // cells along each side of the box
constexpr int kMaxGrid = 200;
constexpr int kDefaultPlanes = 12;   // planes of each section family
constexpr int kMaxPlanes = 500;

struct ParameterAxis {
    std::string from, to;             // numbers or constant expressions, e.g. "-pi/2"
    int         lines = kDefaultLines;   // lines of constant value, equally spaced, ends included
};

// The range a parameter's slider and sweep run over: least and greatest, its value within.
struct ParameterRange {
    std::string name;
    double      least = 0.0, greatest = 1.0;
};

// An intermediate name: its formula of u, v, the parameters and other lets, which x, y and z read.
struct NamedFormula {
    std::string name, text;
};

// What a user or the gallery writes down for one surface.
struct SurfaceDefinition {
    std::string                id, caption;
    std::array<std::string, 3> xyz;     // the formulas of x, y and z
    ParameterAxis              u, v;
    int                        samples = kDefaultSamples;   // along each line, ends included
    Families                   families = Families::UV;
    bool                       fit = true;                  // centred and scaled to kFitRadius
    bool                       fitEachAxis = false;         // with fit: each axis first brought to the same extent
    std::vector<NamedValue>    params;
    std::vector<ParameterRange> ranges;                     // for some of the parameters, in no order
    std::vector<NamedFormula>  lets;                        // in any order; none may use itself, even through others
    // Parameters written as formulas of earlier ones (b = a/2): each follows them when they change.
    std::vector<NamedFormula>  derived;
    // An equation "F = G" (or "F", meaning F = 0) in x, y, z: when given, the surface is its
    // solutions inside box, and xyz, u, v, samples and families are not used.
    std::string                equation;
    std::array<double, 6>      box{-2, 2, -2, 2, -2, 2};   // x from, x to, y from, y to, z from, z to
    int                        grid = kDefaultGrid;          // cells along each side of the box
    std::string                sections;                     // plane-section families: "x", "y", "z" in that order, or ""
    int                        planes = kDefaultPlanes;      // planes of each section family
};

// Sets parameter name to value, and every derived parameter after it anew from its formula (NaN
// where it has no value now), name's own formula dropped; false when there is no such parameter.
bool SetParameter(SurfaceDefinition& definition, const std::string& name, double value);

// Which part of a definition a problem is about, so the window can show it at its field.
enum class DefinitionField { X, Y, Z, UFrom, UTo, ULines, VFrom, VTo, VLines, Samples, Params, Whole, Lets,
                             Equation, Box, Grid, Families, Planes };

struct DefinitionProblem {
    DefinitionField field = DefinitionField::Whole;
    FormulaProblem  what;   // the message, in both languages, with the position in that field
};

// The English name of a field as messages show it: "x", "u start", "samples", ...
const char* FieldName(DefinitionField field);
const char* FieldNameSpanish(DefinitionField field);

// The values of u (or v) at which lines stand: from + i * (to - from) / (lines - 1), the last one
// exactly at to; one line stands at from.
std::vector<double> AxisValues(double from, double to, int lines);

// The values of a sweep over count frames: from(1 - t) + to t at t = k / (count - 1), so both ends
// are exact and no value overflows between finite ends; one frame stands at from.
std::vector<double> SweepValues(double from, double to, int count);

// Samples definition into a wireframe: the u family (lines of constant u, v from start to end)
// then the v family, each line a move on its first sample and a line-to on every sample, with the
// facets of the grid between neighbouring lines. Fitted when definition.fit. On a problem returns
// nothing and says it; when cancel becomes true returns nothing with an empty problem.
std::optional<Wireframe> BuildTypedSurface(const SurfaceDefinition& definition, DefinitionProblem& problem,
                                           const std::atomic<bool>* cancel = nullptr);

// Checks everything but the sampling: the formulas, ranges, counts, limits and parameters.
bool CheckDefinition(const SurfaceDefinition& definition, DefinitionProblem& problem);

// Checks the parameters' names, values and ranges.
bool CheckParameters(const SurfaceDefinition& definition, DefinitionProblem& problem);

// The lets of a definition compiled, with an order of evaluation in which each follows the lets it
// reads; the parsers keep the addresses of values.
struct CompiledLets {
    std::deque<double>  values;
    std::deque<Formula> formulas;   // in the definition's order
    std::vector<size_t> order;
    std::unordered_map<std::string, BoundName> bound;   // each let and extra name by its name
    void Evaluate(double u, double v);
};

// Compiles the lets with the parameters and the extra names; a let that reads itself, directly or
// through others, is refused naming the round. Each let's parser is given only the names it reads.
bool CompileLets(const SurfaceDefinition& definition, CompiledLets& compiled, DefinitionProblem& problem,
                 const std::vector<BoundName>& extra = {});

// Compiles text given only the bound names it reads, so the work of a definition grows with its
// length, not with the square of its lets; when it fails, again with every name, so that a
// misspelt let's name is still offered as the likely one.
bool CompileNaming(Formula& formula, const std::string& text, const std::vector<NamedValue>& params,
                   FormulaProblem& problem, const std::unordered_map<std::string, BoundName>& bound);

// The names of parameters that no formula (x, y, z, a let or another parameter's) reads.
std::vector<std::string> UnusedParameters(const SurfaceDefinition& definition);

// Brings each axis's finite values to -1 ... 1 about the centre of their bounding box, so a flat
// graph fills a cube; an axis whose values are all equal is only moved to 0.
void ScaleAxesToSameExtent(Wireframe& wire);

// Fits wire as definition asks: each axis first to the same extent with fitEachAxis, then to
// kFitRadius; nothing when fit is off.
void FitAsDefined(Wireframe& wire, const SurfaceDefinition& definition);

// Moves the centre of the bounding box of the finite points to the origin and scales so the
// farthest point lies radius away; false when no point is finite.
bool FitWireframe(Wireframe& wire, double radius);
