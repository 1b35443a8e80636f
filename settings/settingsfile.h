// VEXEL.CFG beside the program: loads the live settings at start and saves
// them on the user's command. The file is only ever replaced whole: a save
// writes a temporary file in the same folder, flushes it to the medium and
// renames it over the old one, so a failure at any step (read-only medium,
// full disk, missing folder) leaves the previous settings file as it was.
#pragma once

#include "settingsrecord.h"

#include <filesystem>
#include <string_view>

namespace vexel {

inline constexpr std::string_view SETTINGS_FILE_NAME = "VEXEL.CFG";

class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path);
    // The settings file in the program's own folder.
    static SettingsFile besideProgram(const std::filesystem::path& programDir);

    // Missing, unreadable, shorter than 200 bytes or another magic: every
    // setting to its default, the language included. Reads at most 200 bytes.
    void load(Settings& settings);
    // True when the new record is on disk under the file's name. False leaves
    // the previous file exactly as it was and no temporary file behind; the
    // caller reports the error.
    bool save(const Settings& settings);

    const std::filesystem::path& path() const { return path_; }
    // The run's one record buffer: what was last read or written.
    const SettingsRecord& record() const { return record_; }

private:
    std::filesystem::path path_;
    SettingsRecord record_;
};

}  // namespace vexel
