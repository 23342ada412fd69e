#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "core/fd_output_buffer.h"

namespace vesk {

// ".tmp-" and twelve random letters and digits: a name nobody can guess and plant beforehand.
std::string random_temporary_suffix();

// Writes a file beside its final name and renames it into place on commit(), so a failure never
// leaves a half-written file: until then an existing file of that name is untouched. Without
// commit() the partial file is removed, also when the program is ended by a signal (see
// temporary_file_registry.h). The temporary file is created afresh, never through a link or over
// a file already there. A device or a pipe in the final name's place (/dev/stdout) is written
// directly: there is no file to keep.
class AtomicFile {
  public:
    // Throws vesk::Error naming the path and the reason when the folder cannot be written.
    // draw_suffix gives the temporary file's name after the final one, drawn again while taken.
    explicit AtomicFile(std::string path,
                        const std::function<std::string()>& draw_suffix = random_temporary_suffix);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    std::ostream& stream() { return out_; }
    // Flushes, closes and renames into place; throws vesk::Error naming the path on failure,
    // which leaves an earlier file as it was.
    void commit();

    const std::string& path() const { return path_; }

  private:
    struct Target {
        int fd = -1;
        std::string temp_path;            // empty when written directly
        std::optional<std::size_t> slot;  // in the temporary file registry
    };
    static Target open_target(const std::string& path,
                              const std::function<std::string()>& draw_suffix);

    std::string path_;
    Target target_;
    FdOutputBuffer buffer_;
    std::ostream out_;
    bool committed_ = false;
};

}  // namespace vesk
