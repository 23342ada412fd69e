#include "core/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>
#include <utility>

#include "core/temporary_file_registry.h"
#include "core/write_failure.h"

namespace vesk {

namespace {

// Names drawn before giving up: a taken random name is already all but impossible.
constexpr int temporary_name_draws = 100;

bool is_device_or_pipe(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

}  // namespace

std::string random_temporary_suffix() {
    static constexpr char letters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, sizeof letters - 2);
    std::string suffix = ".tmp-";
    for (int i = 0; i < 12; ++i) {
        suffix += letters[pick(random)];
    }
    return suffix;
}

AtomicFile::Target AtomicFile::open_target(const std::string& path,
                                           const std::function<std::string()>& draw_suffix) {
    Target target;
    if (is_device_or_pipe(path)) {
        target.fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
        if (target.fd < 0) {
            throw write_failure(file_target(path), errno);
        }
        return target;
    }
    for (int draw = 0; draw < temporary_name_draws; ++draw) {
        const std::string temp_path = path + draw_suffix();
        const CleanupSignalsBlocked blocked;
        // Exclusive and not through a link: a name planted beforehand is never written to.
        target.fd =
            ::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (target.fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            throw write_failure(file_target(path), errno);
        }
        try {
            target.slot = register_temporary_file(temp_path);
        } catch (...) {
            ::close(target.fd);
            ::unlink(temp_path.c_str());
            throw;
        }
        target.temp_path = temp_path;
        return target;
    }
    throw write_failure(file_target(path), EEXIST);
}

AtomicFile::AtomicFile(std::string path, const std::function<std::string()>& draw_suffix)
    : path_(std::move(path)),
      target_(open_target(path_, draw_suffix)),
      buffer_(target_.fd),
      out_(&buffer_) {}

AtomicFile::~AtomicFile() {
    if (target_.fd >= 0) {
        ::close(target_.fd);
    }
    if (!committed_ && target_.slot) {
        const CleanupSignalsBlocked blocked;
        ::unlink(target_.temp_path.c_str());
        forget_temporary_file(*target_.slot);
    }
}

void AtomicFile::commit() {
    out_.flush();
    if (buffer_.error() != 0 || !out_) {
        throw write_failure(file_target(path_), buffer_.error() != 0 ? buffer_.error() : EIO);
    }
    const int fd = std::exchange(target_.fd, -1);
    if (::close(fd) != 0) {
        throw write_failure(file_target(path_), errno);
    }
    if (!target_.slot) {
        committed_ = true;
        return;
    }
    const CleanupSignalsBlocked blocked;
    if (std::rename(target_.temp_path.c_str(), path_.c_str()) != 0) {
        throw write_failure(file_target(path_), errno);
    }
    forget_temporary_file(*target_.slot);
    committed_ = true;
}

}  // namespace vesk
