#pragma once

#include <signal.h>

#include <cstddef>
#include <string>

namespace vesk {

// The temporary files being written, kept in a fixed table that a signal handler can walk
// without allocating: on SIGTERM, SIGINT or SIGHUP they are removed, then the program ends with
// the signal's status.
void remove_temporary_files_on_signals();

// Blocks those signals while it lives, so that a file is never created without being registered,
// nor renamed without being forgotten; a signal that comes meanwhile is handled afterwards.
class CleanupSignalsBlocked {
  public:
    CleanupSignalsBlocked();
    ~CleanupSignalsBlocked();
    CleanupSignalsBlocked(const CleanupSignalsBlocked&) = delete;
    CleanupSignalsBlocked& operator=(const CleanupSignalsBlocked&) = delete;

  private:
    sigset_t previous_;
};

// Records a temporary file; returns its slot. Throws vesk::Error when the table is full or the
// path longer than a path can be.
std::size_t register_temporary_file(const std::string& path);
void forget_temporary_file(std::size_t slot);

}  // namespace vesk
