// Reading and replacing the program's own small files (settings, sounds,
// help pages, game records) so that nothing placed at their names can hang
// the program or make it write somewhere it should not.
//
// Reading opens only regular files, without blocking: a FIFO, a device, a
// socket or a folder at the name reads as a missing file. A link is followed
// to its target, which must be a regular file itself.
//
// Replacing writes the bytes into a new file of its own making in the same
// folder, flushes it and renames it over the name. So no existing file is
// ever written into, truncated or given another owner: a link at the name is
// replaced by the new file while its target stays as it was, and a name that
// holds anything the running user does not own, or anything but a regular
// file or a link, is refused. A failure at any step leaves the old file as it
// was. Temporary files that a killed save left behind are removed by later
// saves (see removeStaleTemporaries).
//
// Plain C++ on POSIX, no Qt, so that every layer above core/ can use it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <sys/types.h>
#include <vector>

namespace vexel {

// A descriptor that is closed on every path out.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a failed close (a deferred write error) is seen.
    bool close();

private:
    int fd_ = -1;
};

// A regular file opened for reading, with its size when it was opened.
struct RegularFile {
    FileDescriptor fd;
    std::uint64_t size = 0;
};
// Nullopt when the name holds no regular file (or a link to none), or it cannot be opened.
std::optional<RegularFile> openRegularFile(const std::filesystem::path& path);

// Reads `buffer.size()` bytes at `offset`; false on an error or a short read.
bool readExactlyAt(int fd, std::uint64_t offset, std::span<std::uint8_t> buffer);
// Reads from the start until `buffer` is full or the file ends: the bytes
// read, or nullopt when the file cannot be read as a regular file.
std::optional<std::size_t> readRegularFile(const std::filesystem::path& path, std::span<std::uint8_t> buffer);
// The whole file when it holds at most `limit` bytes; nullopt when it is
// missing, not a regular file, larger, or cannot be read.
std::optional<std::vector<std::uint8_t>> readWholeRegularFile(const std::filesystem::path& path, std::size_t limit);

// Makes the missing folders above `file`, private to the user (0700) as
// config and state folders are. False when one cannot be made.
bool makePrivateFolders(const std::filesystem::path& file);

// Puts `bytes` under `path` as a whole, as the header describes. The folder
// must exist. A new file gets 0644 less the umask; a regular file replaced
// keeps its read and write bits, with reading and writing by its owner added,
// so that a file once made unreadable does not stay so. True when the new
// bytes are on disk under the name.
bool replaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Removes, beside `path`, the temporary files that replaceFile names after it
// ("NAME.tmp.<pid>.<n>"), when they belong to the running user and either
// their process no longer runs or they are older than STALE_TEMPORARY_AGE
// (the process number may have been given to another program since). A file
// that a running save is writing right now is left alone. replaceFile calls
// it; a program calls it at start for the files it saves.
void removeStaleTemporaries(const std::filesystem::path& path);
inline constexpr int STALE_TEMPORARY_AGE_SECONDS = 600;

// The temporary name replaceFile uses for `name` in process `pid`, attempt `n`.
std::filesystem::path temporaryName(const std::filesystem::path& name, pid_t pid, unsigned n);

}  // namespace vexel
