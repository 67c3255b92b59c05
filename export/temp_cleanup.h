// Temporary files that SIGINT, SIGTERM or SIGHUP remove before the program ends.
#pragma once

#include <signal.h>

// Names path for removal should one of those signals end the program; returns the slot to give back
// to ForgetForCleanup, or -1 when the name is too long or every slot is taken (the file then stays).
// The handlers are installed on first use, only for signals still at their default action.
int KeepForCleanup(const char* path);

// The file of slot is renamed or removed: a signal no longer touches its name. -1 is ignored.
void ForgetForCleanup(int slot);

// Holds back those signals while it lives, so that a file is never created unnamed for cleanup,
// nor renamed into place while still named for it.
class CleanupSignalsHeld {
public:
    CleanupSignalsHeld();
    ~CleanupSignalsHeld();
    CleanupSignalsHeld(const CleanupSignalsHeld&) = delete;
    CleanupSignalsHeld& operator=(const CleanupSignalsHeld&) = delete;

private:
    sigset_t m_previous;
};
