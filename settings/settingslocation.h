// Where VEXEL.CFG lives. The one rule: beside the program whenever the
// program's folder takes new files (a build folder, an install in the user's
// home); otherwise, as for a program installed system-wide, in the user's
// config folder, while a VEXEL.CFG beside the program still serves as an
// administrator's defaults until the user's first save.
#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace vexel {

inline constexpr std::string_view SETTINGS_FILE_NAME = "VEXEL.CFG";

struct SettingsLocation {
    std::filesystem::path file;      // read at start and written by every save
    std::filesystem::path fallback;  // read instead while `file` does not exist; empty for none
    bool makeFolder = false;         // a save first makes the missing folders above `file`
};

// True when a new file can be made in `folder` by this process.
bool canWriteFolder(const std::filesystem::path& folder);
// Tests substitute their own probe: root may write into any folder.
using FolderProbe = std::function<bool(const std::filesystem::path&)>;

// $XDG_CONFIG_HOME/vexel, or $HOME/.config/vexel when that variable is unset,
// empty or relative; empty when there is no home either. Null means unset.
std::filesystem::path userSettingsFolder(const char* xdgConfigHome, const char* home);

SettingsLocation locateSettings(const std::filesystem::path& programDir, const std::filesystem::path& userFolder,
                                const FolderProbe& writable = canWriteFolder);
// The same for this process: its environment and the real folder permissions.
SettingsLocation locateSettings(const std::filesystem::path& programDir);

}  // namespace vexel
