// Record files on disk, by the program's rules for its files (safefile.h):
// reading takes only a regular file of at most MAX_RECORD_BYTES and never
// waits on a pipe or a device; writing replaces the file whole (a new file
// beside it, flushed to the medium, renamed over it), so that a crash leaves
// either the old record or the new one, and a link at the name is replaced,
// not followed. A record larger than the reader takes is never written.
#pragma once

#include "core/record.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace vexel {

// False with the reason.
bool readRecordFile(const std::filesystem::path& path, std::string& text, RecordProblem& problem);
// `privateFile`: readable by the user alone, its folders made as needed, and
// only in a folder that is the user's own (ownFolder).
bool writeRecordFile(const std::filesystem::path& path, std::string_view text, bool privateFile, RecordProblem& problem);

// $XDG_STATE_HOME/vexel/current.vxg, or ~/.local/state/vexel/current.vxg when
// that variable is unset, empty or relative; empty without a home either.
std::filesystem::path autosaveFile(const char* xdgStateHome, const char* home);

// True when `folder` is a real folder (no link) that belongs to the running
// user. The program keeps its running game only in such a folder, so that a
// link planted there never makes it write or rename another user's files.
bool ownFolder(const std::filesystem::path& folder);

}  // namespace vexel
