#include "recordfile.h"

#include "core/record.h"
#include "settings/safefile.h"

namespace vexel {

namespace fs = std::filesystem;

bool readRecordFile(const fs::path& path, std::string& text, std::string& error) {
    const auto file = openRegularFile(path);
    if (!file) {
        error = "no regular file that can be read";
        return false;
    }
    if (file->size > MAX_RECORD_BYTES) {
        error = "the file is larger than 1 MB: no game record";
        return false;
    }
    // Read again by name with the limit: the file may have grown since.
    const auto bytes = readWholeRegularFile(path, MAX_RECORD_BYTES);
    if (!bytes) {
        error = "the file cannot be read whole (larger than 1 MB?)";
        return false;
    }
    text.assign(bytes->begin(), bytes->end());
    return true;
}

bool writeRecordFile(const fs::path& path, std::string_view text, bool privateFile, std::string& error) {
    if (privateFile && !makePrivateFolders(path)) {
        error = "the folder cannot be made";
        return false;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    if (replaceFile(path, std::span(data, text.size()))) return true;
    error = "the file cannot be written there (no permission, no room, or another user's file)";
    return false;
}

fs::path autosaveFile(const char* xdgStateHome, const char* home) {
    fs::path base;
    if (xdgStateHome && *xdgStateHome && fs::path(xdgStateHome).is_absolute()) base = xdgStateHome;
    else if (home && *home) base = fs::path(home) / ".local" / "state";
    else return {};
    return base / "vexel" / "current.vxg";
}

}  // namespace vexel
