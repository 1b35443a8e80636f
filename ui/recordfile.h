// Record files on disk, by the program's rules for its files (safefile.h):
// reading takes only a regular file of at most 1 MB and never waits on a pipe
// or a device; writing replaces the file whole (a new file beside it, flushed
// to the medium, renamed over it), so that a crash leaves either the old
// record or the new one, and a link at the name is replaced, not followed.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vexel {

// False with a short reason (in English, as the system gives it).
bool readRecordFile(const std::filesystem::path& path, std::string& text, std::string& error);
// `privateFile`: readable by the user alone, its folders made as needed.
bool writeRecordFile(const std::filesystem::path& path, std::string_view text, bool privateFile, std::string& error);

// $XDG_STATE_HOME/vexel/current.vxg, or ~/.local/state/vexel/current.vxg when
// that variable is unset, empty or relative; empty without a home either.
std::filesystem::path autosaveFile(const char* xdgStateHome, const char* home);

}  // namespace vexel
