#include "safefile.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <ctime>
#include <string>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexel {

namespace fs = std::filesystem;

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
}

bool FileDescriptor::close() {
    const int fd = fd_;
    fd_ = -1;
    return fd >= 0 && ::close(fd) == 0;
}

namespace {

constexpr std::string_view TEMPORARY_INFIX = ".tmp.";

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += std::size_t(n);
    }
    return true;
}

FileDescriptor openFolder(const fs::path& file) {
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    return FileDescriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

// The process number in "NAME.tmp.<pid>.<n>", or 0 when `entry` is not of that form.
pid_t temporaryOwner(std::string_view entry, std::string_view name) {
    if (entry.size() <= name.size() + TEMPORARY_INFIX.size() || !entry.starts_with(name)) return 0;
    std::string_view rest = entry.substr(name.size());
    if (!rest.starts_with(TEMPORARY_INFIX)) return 0;
    rest.remove_prefix(TEMPORARY_INFIX.size());
    const std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos || dot == 0 || dot > 9 || dot + 1 == rest.size()) return 0;
    const std::string_view pidText = rest.substr(0, dot), serial = rest.substr(dot + 1);
    for (const std::string_view digits : {pidText, serial})
        for (const char c : digits)
            if (c < '0' || c > '9') return 0;
    pid_t pid = 0;
    std::from_chars(pidText.data(), pidText.data() + pidText.size(), pid);
    // 0 and 1 cannot have saved anything; kill() must never see 0 or less.
    return pid > 1 ? pid : 0;
}

bool processGone(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

void removeStaleIn(int folder, const std::string& name) {
    const int listing = ::dup(folder);
    if (listing < 0) return;
    DIR* dir = ::fdopendir(listing);
    if (dir == nullptr) {
        ::close(listing);
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t pid = temporaryOwner(entry->d_name, name);
        if (pid == 0) continue;
        struct stat st {};
        if (::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        const bool old = now - st.st_mtime > STALE_TEMPORARY_AGE_SECONDS;
        if ((pid != ::getpid() && processGone(pid)) || old) ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(dir);
}

}  // namespace

std::optional<RegularFile> openRegularFile(const fs::path& path) {
    // Looked at before opening, so that no device is ever opened; looked at
    // again after, in case the name was changed in between.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return RegularFile{std::move(fd), std::uint64_t(st.st_size)};
}

bool readExactlyAt(int fd, std::uint64_t offset, std::span<std::uint8_t> buffer) {
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::pread(fd, buffer.data() + got, buffer.size() - got, off_t(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += std::size_t(n);
    }
    return true;
}

std::optional<std::size_t> readRegularFile(const fs::path& path, std::span<std::uint8_t> buffer) {
    const auto file = openRegularFile(path);
    if (!file) return std::nullopt;
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::read(file->fd.get(), buffer.data() + got, buffer.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += std::size_t(n);
    }
    return got;
}

std::optional<std::vector<std::uint8_t>> readWholeRegularFile(const fs::path& path, std::size_t limit) {
    const auto file = openRegularFile(path);
    if (!file || file->size > limit) return std::nullopt;
    // One byte more than the limit tells a file that grew since it was opened.
    std::vector<std::uint8_t> bytes(std::size_t(file->size) + 1);
    std::size_t got = 0;
    for (;;) {
        const ssize_t n = ::read(file->fd.get(), bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += std::size_t(n);
        if (got > limit) return std::nullopt;
        if (got == bytes.size()) bytes.resize(std::min(bytes.size() * 2, limit + 1));
    }
    bytes.resize(got);
    return bytes;
}

bool makePrivateFolders(const fs::path& file) {
    fs::path folder;
    for (const fs::path& part : file.parent_path()) {
        folder /= part;
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

fs::path temporaryName(const fs::path& name, pid_t pid, unsigned n) {
    fs::path temporary = name;
    temporary += std::string(TEMPORARY_INFIX) + std::to_string(pid) + "." + std::to_string(n);
    return temporary;
}

void removeStaleTemporaries(const fs::path& path) {
    const FileDescriptor folder = openFolder(path);
    if (folder.valid()) removeStaleIn(folder.get(), path.filename().string());
}

bool replaceFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    // Every step works relative to the folder as it was opened, so that the
    // folder cannot be swapped between the checks and the rename.
    const FileDescriptor folder = openFolder(path);
    if (!folder.valid() || !path.has_filename()) return false;
    const fs::path name = path.filename();

    mode_t mode = 0644;  // less the umask, by open()
    bool keepMode = false;
    struct stat old {};
    if (::fstatat(folder.get(), name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        if (old.st_uid != ::geteuid()) return false;  // another user's file or link stays theirs
        if (S_ISREG(old.st_mode)) {
            mode = (old.st_mode & 0666) | S_IRUSR | S_IWUSR;
            keepMode = true;
        } else if (!S_ISLNK(old.st_mode)) {
            return false;  // a folder, FIFO, socket or device is nothing to replace
        }
    } else if (errno != ENOENT) {
        return false;
    }
    removeStaleIn(folder.get(), name.string());

    static unsigned counter = 0;
    fs::path temporary;
    FileDescriptor file;
    for (int attempt = 0; attempt < 100 && !file.valid(); ++attempt) {
        temporary = temporaryName(name, ::getpid(), counter++);
        // O_EXCL refuses any name that exists, a link included: only a file of our own making is written.
        file = FileDescriptor(::openat(folder.get(), temporary.c_str(),
                                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
        if (!file.valid() && errno != EEXIST) return false;
    }
    if (!file.valid()) return false;
    const bool moded = !keepMode || ::fchmod(file.get(), mode) == 0;
    const bool written = moded && writeAll(file.get(), bytes) && ::fsync(file.get()) == 0;
    const bool closed = file.close();
    if (!written || !closed || ::renameat(folder.get(), temporary.c_str(), folder.get(), name.c_str()) != 0) {
        ::unlinkat(folder.get(), temporary.c_str(), 0);
        return false;
    }
    // Makes the rename itself durable. Best effort: once the rename is done
    // the old file is gone either way, so a failure here cannot be undone.
    ::fsync(folder.get());
    return true;
}

}  // namespace vexel
