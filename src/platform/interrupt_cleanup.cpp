#include "platform/interrupt_cleanup.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace avelin {

namespace {

// Fixed room, so that the handler neither allocates nor locks: a slot is
// taken, filled and then armed; the handler removes the armed ones.
constexpr int kSlots = 64;
constexpr std::size_t kPathRoom = 4096;
struct Slot {
    std::atomic<bool> taken{false};
    std::atomic<bool> armed{false};
    char path[kPathRoom];
};
Slot slots[kSlots];
std::atomic<int> commits{0};
std::atomic<int> deferred{0}; // the signal that came during a commit, 0 for none

void RemoveArmed() {
    for (Slot& s : slots)
        if (s.armed.exchange(false)) {
#ifdef _WIN32
            DeleteFileA(s.path);
#else
            ::unlink(s.path);
#endif
        }
}

#ifdef _WIN32
BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    // The handler runs on a thread of its own: a commit on the way finishes first.
    for (int waited = 0; commits.load() > 0 && waited < 500; ++waited)
        Sleep(10);
    RemoveArmed();
    return FALSE; // the system's default: the program ends
}
#else
void OnSignal(int signal) {
    if (commits.load() > 0) {
        deferred.store(signal);
        return;
    }
    RemoveArmed();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
#endif

} // namespace

void InstallInterruptCleanup() {
    static std::once_flag once;
    std::call_once(once, [] {
#ifdef _WIN32
        SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
#else
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            struct sigaction old {};
            if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler != SIG_DFL)
                continue;
            struct sigaction action {};
            action.sa_handler = OnSignal;
            sigemptyset(&action.sa_mask);
            sigaction(signal, &action, nullptr);
        }
#endif
    });
}

InterruptCleanup::InterruptCleanup(const std::string& path) {
    if (path.size() >= kPathRoom)
        return;
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (slots[i].taken.compare_exchange_strong(expected, true)) {
            std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
            slots[i].armed.store(true);
            slot_ = i;
            return;
        }
    }
}

InterruptCleanup::~InterruptCleanup() {
    if (slot_ < 0)
        return;
    slots[slot_].armed.store(false);
    slots[slot_].taken.store(false);
}

CommitInProgress::CommitInProgress() {
    commits.fetch_add(1);
}

CommitInProgress::~CommitInProgress() {
    if (commits.fetch_sub(1) != 1)
        return;
#ifndef _WIN32
    if (const int signal = deferred.exchange(0))
        OnSignal(signal);
#endif
}

void RunInterruptCleanup() {
    RemoveArmed();
}

} // namespace avelin
