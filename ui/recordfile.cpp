#include "recordfile.h"

#include "settings/safefile.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vexel {

namespace fs = std::filesystem;

bool readRecordFile(const fs::path& path, std::string& text, RecordProblem& problem) {
    const auto file = openRegularFile(path);
    if (!file) {
        struct stat st {};
        problem = ::stat(path.c_str(), &st) != 0 ? RecordProblem::NoFile
                  : S_ISDIR(st.st_mode)          ? RecordProblem::IsFolder
                                                 : RecordProblem::NotRegular;
        return false;
    }
    // Read again by name with the limit: the file may have grown since.
    const auto bytes = file->size > MAX_RECORD_BYTES ? std::nullopt : readWholeRegularFile(path, MAX_RECORD_BYTES);
    if (!bytes) {
        problem = RecordProblem::TooLarge;
        return false;
    }
    text.assign(bytes->begin(), bytes->end());
    return true;
}

bool writeRecordFile(const fs::path& path, std::string_view text, bool privateFile, RecordProblem& problem) {
    if (text.size() > MAX_RECORD_BYTES) {
        problem = RecordProblem::TooLargeToWrite;
        return false;
    }
    if (privateFile && (!makePrivateFolders(path) || !ownFolder(path.parent_path()))) {
        problem = RecordProblem::CannotMakeFolder;
        return false;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    if (replaceFile(path, std::span(data, text.size()))) return true;
    problem = RecordProblem::CannotWrite;
    return false;
}

fs::path autosaveFile(const char* xdgStateHome, const char* home) {
    fs::path base;
    if (xdgStateHome && *xdgStateHome && fs::path(xdgStateHome).is_absolute()) base = xdgStateHome;
    else if (home && *home) base = fs::path(home) / ".local" / "state";
    else return {};
    return base / "vexel" / "current.vxg";
}

bool ownFolder(const fs::path& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

}  // namespace vexel
