#include "settingsfile.h"

#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vexel {

namespace {

namespace fs = std::filesystem;

// A descriptor that is closed on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a failed close (a deferred write error) is seen.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Reads until `buffer` is full or the file ends. Returns the bytes read, 0 on any error.
std::size_t readUpTo(const fs::path& path, std::span<std::uint8_t> buffer) {
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.valid()) return 0;
    std::size_t got = 0;
    while (got < buffer.size()) {
        const ssize_t n = ::read(file.get(), buffer.data() + got, buffer.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return 0;
        if (n == 0) break;
        got += std::size_t(n);
    }
    return got;
}

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

// A saved settings file that is a link replaces the file it points to, not the link.
fs::path resolveTarget(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_symlink(path, ec)) return path;
    fs::path resolved = fs::weakly_canonical(path, ec);
    return ec ? path : resolved;
}

// Creates a new file beside `target` that no other run or program is using.
// Returns its descriptor, or an invalid one when the folder takes no new file.
Descriptor createTemporary(const fs::path& target, fs::path& temporary) {
    static unsigned counter = 0;
    const std::string stem = target.filename().string() + ".tmp." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = target;
        temporary.replace_filename(stem + std::to_string(counter++));
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return Descriptor(fd);
    }
    return Descriptor(-1);
}

// Makes every missing folder above `file`, private to the user as config
// folders are. False when one cannot be made.
bool makeFolders(const fs::path& file) {
    fs::path folder;
    for (const fs::path& part : file.parent_path()) {
        folder /= part;
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

// Makes the rename itself durable. Best effort: once the rename is done the
// old file is gone either way, so a failure here cannot be undone.
void syncFolder(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) ::fsync(dir.get());
}

}  // namespace

SettingsFile::SettingsFile(std::filesystem::path path) : location_{std::move(path), {}, false} {}

SettingsFile::SettingsFile(SettingsLocation location) : location_(std::move(location)) {}

SettingsFile SettingsFile::besideProgram(const std::filesystem::path& programDir) {
    return SettingsFile(programDir / SETTINGS_FILE_NAME);
}

void SettingsFile::load(Settings& settings) {
    fs::path source = location_.file;
    std::error_code ec;
    if (!location_.fallback.empty() && !fs::exists(source, ec) && !ec) source = location_.fallback;

    SettingsRecord::Bytes bytes{};
    const std::size_t got = readUpTo(source, bytes);
    // A whole record is the run's buffer from now on, whatever its magic says.
    if (got == bytes.size()) record_.fill(bytes);
    if (!record_.decode(std::span(bytes.data(), got), settings)) settings.reset(true);
}

bool SettingsFile::save(const Settings& settings) {
    const SettingsRecord::Bytes& bytes = record_.encode(settings);
    if (location_.makeFolder && !makeFolders(location_.file)) return false;
    const fs::path target = resolveTarget(location_.file);

    fs::path temporary;
    Descriptor file = createTemporary(target, temporary);
    if (!file.valid()) return false;

    // The new file takes over the permissions of the one it replaces.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(file.get(), old.st_mode & 07777);

    const bool written = writeAll(file.get(), bytes) && ::fsync(file.get()) == 0;
    const bool closed = file.close();
    if (!written || !closed || ::rename(temporary.c_str(), target.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(target);
    return true;
}

}  // namespace vexel
