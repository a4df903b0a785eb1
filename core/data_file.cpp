// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/data_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/runtime_error.h"

namespace {

// An open file descriptor, closed on every way out.
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

// O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
// It changes nothing for a regular file, the only kind that is read. Node's
// file system (the browser build's replay) drops the flag and waits anyway,
// so nothing but a regular file is opened at all; the open file is checked
// again, in case the path changed in between.
int open_regular(const std::string& path, struct stat& st) {
    if (path.empty()) return -1;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return -1;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::optional<std::vector<uint8_t>> read_data_file(const std::string& path, size_t max_bytes) {
    struct stat st{};
    Fd f{open_regular(path, st)};
    if (f.fd < 0) throw err::file_not_found();
    if (st.st_size < 0 || uint64_t(st.st_size) > max_bytes) return std::nullopt;
    std::vector<uint8_t> bytes(size_t(st.st_size));
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(f.fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // cut short while we read: what there is
        got += size_t(n);
    }
    bytes.resize(got);
    return bytes;
}

bool is_data_file(const std::string& path, size_t max_bytes) {
    struct stat st{};
    Fd f{open_regular(path, st)};
    return f.fd >= 0 && st.st_size >= 0 && uint64_t(st.st_size) <= max_bytes;
}

std::string data_path(const std::string& folder, const std::string& bare_name) {
    if (folder.empty()) return {};
    return folder.back() == '/' ? folder + bare_name : folder + "/" + bare_name;
}

bool can_enter_folder(const std::string& folder) {
    struct stat st{};
    return !folder.empty() && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(folder.c_str(), X_OK) == 0;
}
