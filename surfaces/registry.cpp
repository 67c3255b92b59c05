// The built-in surfaces and the registry that numbers them and keeps their wireframes.
#include "surfaces/registry.h"

#include <algorithm>
#include <utility>

#include "surfaces/facets.h"
#include "surfaces/tracers.h"

namespace {

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view id)
{
    std::string lower(id);
    for (char& c : lower)
        c = LowerAscii(c);
    return lower;
}

Wireframe RecordBuiltin(SurfaceKind kind)
{
    WireframeRecorder recorder;
    TraceSurfaceInto(kind, recorder);
    Wireframe wire = recorder.Take();
    AddBuiltinFacets(kind, wire);
    return wire;
}

struct Builtin {
    SurfaceKind kind;
    const char* id;
    const char* caption;
};

// In number order: the n-th entry is surface n.
constexpr Builtin kBuiltins[kBuiltinSurfaceCount] = {
    {kMoebius, "moebius", "Cinta de Moebius"},
    {kSaddle, "silla", "Silla de montar"},
    {kSphere, "esfera", "Esfera"},
    {kSine, "seno", "Seno"},
    {kTorus, "toro", "Toro"},
    {kPseudosphere, "pseudoesfera", "Pseudoesfera"},
    {kSpiralStair, "caracol", "Escalera de caracol"},
    {kLeonardoStair, "leonardo", "Escalera de Leonardo"},
};

}   // namespace

SurfaceRegistry::SurfaceRegistry()
{
    // A copy of the process's one tracing: a fresh registry costs no tracing of its own.
    for (const Builtin& builtin : kBuiltins)
        Add(builtin.id, builtin.caption, [kind = builtin.kind] { return BuiltinWireframe(kind); });
}

SurfaceKind SurfaceRegistry::Add(std::string id, std::string caption, std::function<Wireframe()> trace,
                                 std::shared_ptr<const SurfaceDefinition> definition)
{
    std::lock_guard lock(m_mutex);
    if (id.empty())
        return kSurfaceNone;
    id = LowerAscii(id);
    const SurfaceKind number = static_cast<SurfaceKind>(m_slots.size()) + 1;
    if (!m_numbers.emplace(id, number).second)
        return kSurfaceNone;
    Slot& slot = m_slots.emplace_back();
    slot.entry = {number, std::move(id), std::move(caption), std::move(trace), std::move(definition)};
    return number;
}

void SurfaceRegistry::RemoveFrom(SurfaceKind first)
{
    std::lock_guard lock(m_mutex);
    const size_t keep = static_cast<size_t>(std::max(first - 1, kBuiltinSurfaceCount));
    while (m_slots.size() > keep) {
        m_numbers.erase(m_slots.back().entry.id);
        m_slots.pop_back();
    }
}

const SurfaceRegistry::Slot* SurfaceRegistry::SlotOf(SurfaceKind number) const
{
    std::lock_guard lock(m_mutex);
    if (number < 1 || number > static_cast<SurfaceKind>(m_slots.size()))
        return nullptr;
    return &m_slots[static_cast<size_t>(number - 1)];
}

const SurfaceEntry* SurfaceRegistry::Find(SurfaceKind number) const
{
    const Slot* slot = SlotOf(number);
    return slot ? &slot->entry : nullptr;
}

const SurfaceEntry* SurfaceRegistry::FindId(std::string_view id) const
{
    std::lock_guard lock(m_mutex);
    const auto found = m_numbers.find(LowerAscii(id));
    return found == m_numbers.end() ? nullptr : &m_slots[static_cast<size_t>(found->second - 1)].entry;
}

int SurfaceRegistry::Count() const
{
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_slots.size());
}

std::vector<const SurfaceEntry*> SurfaceRegistry::Entries() const
{
    std::lock_guard lock(m_mutex);
    std::vector<const SurfaceEntry*> entries;
    for (const Slot& slot : m_slots)
        entries.push_back(&slot.entry);
    return entries;
}

const Wireframe& SurfaceRegistry::WireframeOf(SurfaceKind number) const
{
    static const Wireframe kEmpty;
    const Slot* slot = SlotOf(number);
    if (!slot)
        return kEmpty;
    std::call_once(slot->traced, [slot] { slot->wire = slot->entry.trace(); });
    return slot->wire;
}

const Wireframe& BuiltinWireframe(SurfaceKind kind)
{
    static const Wireframe kEmpty;
    static std::once_flag traced[kBuiltinSurfaceCount];
    static Wireframe wires[kBuiltinSurfaceCount];
    if (kind < 1 || kind > kBuiltinSurfaceCount)
        return kEmpty;
    const size_t i = static_cast<size_t>(kind - 1);
    std::call_once(traced[i], [kind, i] { wires[i] = RecordBuiltin(kind); });
    return wires[i];
}
