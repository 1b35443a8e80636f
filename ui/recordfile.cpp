#include "recordfile.h"

#include "core/record.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexel {

namespace fs = std::filesystem;

namespace {

std::string systemError() { return std::strerror(errno); }

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool makeFolders(const fs::path& file) {
    fs::path folder;
    for (const fs::path& part : file.parent_path()) {
        folder /= part;
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

}  // namespace

bool readRecordFile(const fs::path& path, std::string& text, std::string& error) {
    // Non-blocking, so that a pipe or a device at the name cannot hold the window.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        error = systemError();
        return false;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        error = "not a regular file";
        return false;
    }
    if (std::uint64_t(info.st_size) > MAX_RECORD_BYTES) {
        error = "the file is larger than 1 MB: no game record";
        return false;
    }
    text.clear();
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = systemError();
            return false;
        }
        if (n == 0) break;
        text.append(buffer, std::size_t(n));
        // The file may have grown since it was looked at.
        if (text.size() > MAX_RECORD_BYTES) {
            error = "the file is larger than 1 MB: no game record";
            return false;
        }
    }
    return true;
}

bool writeRecordFile(const fs::path& path, std::string_view text, bool privateFile, std::string& error) {
    if (privateFile && !makeFolders(path)) {
        error = systemError();
        return false;
    }
    // O_EXCL makes a new file and never follows a link; the rename replaces
    // the name, whatever stands there, and nothing behind it.
    static unsigned counter = 0;
    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = path;
        temporary.replace_filename("." + path.filename().string() + ".tmp." + std::to_string(::getpid()) + "." +
                                   std::to_string(counter++));
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, privateFile ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = systemError();
        return false;
    }
    Descriptor file(fd);
    bool ok = true;
    for (std::size_t done = 0; ok && done < text.size();) {
        const ssize_t n = ::write(file.get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += std::size_t(n);
    }
    ok = ok && ::fsync(file.get()) == 0;
    ok = file.close() && ok;
    if (!ok || ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = systemError();
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

fs::path autosaveFile(const char* xdgStateHome, const char* home) {
    fs::path base;
    if (xdgStateHome && *xdgStateHome && fs::path(xdgStateHome).is_absolute()) base = xdgStateHome;
    else if (home && *home) base = fs::path(home) / ".local" / "state";
    else return {};
    return base / "vexel" / "current.vxg";
}

}  // namespace vexel
