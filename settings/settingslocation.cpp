#include "settingslocation.h"

#include <cstdlib>

#include <unistd.h>

namespace vexel {

namespace fs = std::filesystem;

bool canWriteFolder(const fs::path& folder) {
    // Making a file needs both: writing the folder and passing through it.
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

fs::path userSettingsFolder(const char* xdgConfigHome, const char* home) {
    // A relative config folder would depend on where the program was started from.
    if (xdgConfigHome != nullptr && fs::path(xdgConfigHome).is_absolute()) return fs::path(xdgConfigHome) / "vexel";
    if (home != nullptr && fs::path(home).is_absolute()) return fs::path(home) / ".config" / "vexel";
    return {};
}

SettingsLocation locateSettings(const fs::path& programDir, const fs::path& userFolder, const FolderProbe& writable) {
    const fs::path besideProgram = programDir / SETTINGS_FILE_NAME;
    // Without a home there is nowhere else to go: a save there fails and says so.
    if (userFolder.empty() || writable(programDir)) return {besideProgram, {}, false};
    return {userFolder / SETTINGS_FILE_NAME, besideProgram, true};
}

SettingsLocation locateSettings(const fs::path& programDir) {
    return locateSettings(programDir, userSettingsFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")));
}

}  // namespace vexel
