#include "core/fd_output_buffer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vesk {

FdOutputBuffer::FdOutputBuffer(int fd) : fd_(fd) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool FdOutputBuffer::write_all(const char* data, std::size_t size) {
    while (size > 0 && error_ == 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno != EINTR) {
                error_ = errno;
            }
            continue;
        }
        if (written == 0) {
            error_ = EIO;  // a device that takes nothing would keep us here forever
            continue;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return error_ == 0;
}

bool FdOutputBuffer::drain() {
    const bool written = write_all(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return written;
}

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type c) {
    if (!drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize FdOutputBuffer::xsputn(const char* data, std::streamsize count) {
    const auto size = static_cast<std::size_t>(count);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), data, size);
        pbump(static_cast<int>(count));
        return count;
    }
    if (!drain()) {
        return 0;
    }
    if (size < buffer_.size()) {
        std::memcpy(pptr(), data, size);
        pbump(static_cast<int>(count));
        return count;
    }
    return write_all(data, size) ? count : 0;
}

int FdOutputBuffer::sync() {
    return drain() ? 0 : -1;
}

}  // namespace vesk
