#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/app_state.h"

namespace vesk::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }
    // Writes the bytes as they stand (no line-end translation) and returns the file's path.
    std::string write(std::string_view name, std::string_view content) const;
    static std::string read(const std::string& path);

private:
    std::filesystem::path path_;
};

// A temporary folder with a database file opened in it, and the shared state on top.
struct TempState {
    TempDir dir;
    AppState state{Database::open(dir.file("test.db"))};
};

}  // namespace vesk::testing
