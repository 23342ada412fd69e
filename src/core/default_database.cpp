#include "core/default_database.h"

#include <cstdlib>
#include <filesystem>

#include "core/error.h"

namespace vesk {

namespace {
std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
}  // namespace

std::string default_database_path() {
    if (const std::string chosen = environment("VESK_DB"); !chosen.empty()) {
        return chosen;
    }
    std::filesystem::path folder;
    if (const std::string data_home = environment("XDG_DATA_HOME"); !data_home.empty()) {
        folder = data_home;
    } else if (const std::string home = environment("HOME"); !home.empty()) {
        folder = std::filesystem::path(home) / ".local" / "share";
    } else {
        folder = ".";
    }
    folder /= "vesk";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        throw Error("cannot create the folder " + folder.string() + ": " + ec.message());
    }
    return (folder / "vesk.db").string();
}

}  // namespace vesk
