// The one rule that turns a segment's tests, taken in order along it, into runs of tests alike:
// the frame tests it pixel by pixel, the figure at points a pixel apart, and both cut it here.
#pragma once

#include <climits>

// Steps are numbered from 0. A run that ends with the segment is handed on with last == kToTheEnd,
// as a clipped walk stops testing before the segment ends.
inline constexpr long long kToTheEnd = LLONG_MAX;

// Calls onRun(first, last, seen) for every run of steps whose tests agreed. The segment starts
// seen, so a first step hidden hands on no empty run.
template <class OnRun>
class SeenRuns {
public:
    explicit SeenRuns(OnRun onRun) : m_onRun(onRun) {}

    [[gnu::always_inline]] void Step(long long i, bool seen)   // called for every step, in order
    {
        if (seen == m_seen)
            return;
        if (i > m_first)
            m_onRun(m_first, i - 1, m_seen);
        m_seen = seen;
        m_first = i;
    }
    void End() { m_onRun(m_first, kToTheEnd, m_seen); }

private:
    OnRun     m_onRun;
    bool      m_seen = true;
    long long m_first = 0;
};
