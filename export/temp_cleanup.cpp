// Removing named temporary files from a signal handler: fixed buffers and lock-free flags only.
#include "export/temp_cleanup.h"

#include <limits.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>

namespace {

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSlots = 8;   // one per file being written at once; the program writes one at a time

enum SlotState : int { kFree, kFilling, kArmed };

struct Slot {
    std::atomic<int> state{kFree};
    char             name[PATH_MAX];
};
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the flags");

Slot g_slots[kSlots];

void RemoveAndDie(int signal)
{
    for (Slot& slot : g_slots)
        if (slot.state.load() == kArmed)
            unlink(slot.name);
    raise(signal);   // SA_RESETHAND restored the default action: it ends the program once we return
}

void InstallHandlers()
{
    for (const int signal : kCleanupSignals) {
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) != 0 || (current.sa_flags & SA_SIGINFO) ||
            current.sa_handler != SIG_DFL)
            continue;   // ignored (nohup) or handled by someone else: left as it is
        struct sigaction action {};
        action.sa_handler = RemoveAndDie;
        sigemptyset(&action.sa_mask);
        for (const int other : kCleanupSignals)
            sigaddset(&action.sa_mask, other);
        action.sa_flags = SA_RESETHAND;
        sigaction(signal, &action, nullptr);
    }
}

}   // namespace

int KeepForCleanup(const char* path)
{
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
    const size_t length = std::strlen(path);
    if (length >= PATH_MAX)
        return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
            std::memcpy(g_slots[i].name, path, length + 1);
            g_slots[i].state.store(kArmed);
            return i;
        }
    }
    return -1;
}

void ForgetForCleanup(int slot)
{
    if (slot >= 0 && slot < kSlots)
        g_slots[slot].state.store(kFree);
}

CleanupSignalsHeld::CleanupSignalsHeld()
{
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kCleanupSignals)
        sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &m_previous);
}

CleanupSignalsHeld::~CleanupSignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
}
