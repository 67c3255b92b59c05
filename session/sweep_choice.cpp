// "Animar"'s choice, the same in the window and the page.
#include "session/sweep_choice.h"

void SweepChoice::Show(const std::vector<ParameterControl>& parameters)
{
    m_parameter = parameters.empty() ? std::string() : parameters.front().name;
    m_running = false;
}
