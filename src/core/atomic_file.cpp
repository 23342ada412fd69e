#include "core/atomic_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "core/error.h"

namespace vesk {

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {
    std::random_device random;
    temp_path_ = path_ + ".tmp-" + std::to_string(random() % 1000000);
    out_.open(temp_path_, std::ios::binary | std::ios::trunc);
    if (!out_) {
        throw Error("cannot write the file " + path_ + ": " + std::strerror(errno));
    }
}

AtomicFile::~AtomicFile() {
    if (!committed_) {
        out_.close();
        std::remove(temp_path_.c_str());
    }
}

void AtomicFile::commit() {
    out_.flush();
    const bool written = static_cast<bool>(out_);
    out_.close();
    if (!written || out_.fail()) {
        throw Error("cannot write the file " + path_ + ": " + std::strerror(errno));
    }
    if (std::rename(temp_path_.c_str(), path_.c_str()) != 0) {
        throw Error("cannot write the file " + path_ + ": " + std::strerror(errno));
    }
    committed_ = true;
}

}  // namespace vesk
