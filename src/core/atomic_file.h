#pragma once

#include <fstream>
#include <string>

namespace vesk {

// Writes a file beside its final name and renames it into place on commit(), so a failure never
// leaves a half-written file: until then an existing file of that name is untouched. Without
// commit() the partial file is removed.
class AtomicFile {
  public:
    // Throws vesk::Error naming the path and the reason when the folder cannot be written.
    explicit AtomicFile(std::string path);
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();

    std::ostream& stream() { return out_; }
    // Flushes, closes and renames into place; throws vesk::Error naming the path on failure.
    void commit();

    const std::string& path() const { return path_; }

  private:
    std::string path_;
    std::string temp_path_;
    std::ofstream out_;
    bool committed_ = false;
};

}  // namespace vesk
