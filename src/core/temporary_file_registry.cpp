#include "core/temporary_file_registry.h"

#include <limits.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

#include "core/error.h"

namespace vesk {

namespace {

constexpr int cleanup_signals[] = {SIGTERM, SIGINT, SIGHUP};

// A slot is filled while claimed and read by the handler only once ready.
enum SlotState : int { slot_free, slot_claimed, slot_ready };

struct Slot {
    std::atomic<int> state{slot_free};
    char path[PATH_MAX] = {};
};

// Few files are ever written at once: a result, its details and a report.
Slot slots[16];

extern "C" void remove_temporary_files_and_end(int signal_number) {
    for (Slot& slot : slots) {
        if (slot.state.load() == slot_ready) {
            ::unlink(slot.path);
        }
    }
    // The handler was reset when it was called: the signal, pending until the handler returns,
    // now ends the program as it would have without it.
    ::raise(signal_number);
}

}  // namespace

void remove_temporary_files_on_signals() {
    for (const int signal_number : cleanup_signals) {
        struct sigaction current {};
        ::sigaction(signal_number, nullptr, &current);
        if (current.sa_handler == SIG_IGN) {
            continue;  // started ignoring it (nohup, a background job): it stays ignored
        }
        struct sigaction action {};
        action.sa_handler = remove_temporary_files_and_end;
        sigemptyset(&action.sa_mask);
        for (const int other : cleanup_signals) {
            sigaddset(&action.sa_mask, other);
        }
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal_number, &action, nullptr);
    }
}

CleanupSignalsBlocked::CleanupSignalsBlocked() {
    sigset_t blocked;
    sigemptyset(&blocked);
    for (const int signal_number : cleanup_signals) {
        sigaddset(&blocked, signal_number);
    }
    ::pthread_sigmask(SIG_BLOCK, &blocked, &previous_);
}

CleanupSignalsBlocked::~CleanupSignalsBlocked() {
    ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}

std::size_t register_temporary_file(const std::string& path) {
    if (path.size() >= sizeof(Slot::path)) {
        throw Error("cannot write the file " + path + ": the name is too long");
    }
    for (std::size_t i = 0; i < std::size(slots); ++i) {
        int expected = slot_free;
        if (slots[i].state.compare_exchange_strong(expected, slot_claimed)) {
            std::memcpy(slots[i].path, path.c_str(), path.size() + 1);
            slots[i].state.store(slot_ready);
            return i;
        }
    }
    throw Error("cannot write the file " + path + ": too many files are being written at once");
}

void forget_temporary_file(std::size_t slot) {
    slots[slot].state.store(slot_free);
}

}  // namespace vesk
