#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/app_state.h"

namespace vesk::testing {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
  public:
    TempDir() {
        std::string name = (std::filesystem::temp_directory_path() / "vesk-test-XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        path_ = name;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }
    // Writes the bytes as they stand (no line-end translation) and returns the file's path.
    std::string write(std::string_view name, std::string_view content) const {
        const std::string path = file(name);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(content.data(), static_cast<std::streamsize>(content.size()));
        return path;
    }
    static std::string read(const std::string& path) {
        std::ostringstream content;
        content << std::ifstream(path, std::ios::binary).rdbuf();
        return content.str();
    }

  private:
    std::filesystem::path path_;
};

// A temporary folder with a database file opened in it, and the shared state on top.
struct TempState {
    TempDir dir;
    AppState state{Database::open(dir.file("test.db"))};
};

}  // namespace vesk::testing
