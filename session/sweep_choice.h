// "Animar" in every front end: the parameter it sweeps (the last slider moved, else the shown
// surface's first), whether it runs, what "Guardar animación…" then proposes, and whether it goes
// on after a save paused it. The front end keeps the timer; each tick is ViewSession::SweepTick of
// Parameter().
#pragma once

#include <string>
#include <vector>

#include "session/parameter_control.h"

class SweepChoice {
public:
    // Another surface shown, with these parameters: "Animar" stops, and would sweep the first.
    void Show(const std::vector<ParameterControl>& parameters);
    // A slider moved: "Animar" sweeps its parameter.
    void Moved(const std::string& name) { m_parameter = name; }
    void SetRunning(bool on) { m_running = on; }

    const std::string& Parameter() const { return m_parameter; }
    // Whether the timer ticks: "Animar" on, with a parameter to sweep.
    bool Ticks() const { return m_running && !m_parameter.empty(); }
    // The animation a save proposes: the sweep "Animar" runs, else the turn ("").
    std::string Proposed() const { return m_running ? m_parameter : std::string(); }
    // After a save that paused it, whether it goes on: it ran then (ran), and it was neither turned
    // off nor stopped by another surface meanwhile.
    bool GoesOnAfterSave(bool ran) const { return ran && Ticks(); }

private:
    std::string m_parameter;
    bool        m_running = false;
};
