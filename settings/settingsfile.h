// VEXEL.CFG: loads the live settings at start and saves them on the user's
// command, at the place settingslocation.h decides. The file is only ever
// replaced whole: a save writes a temporary file in the same folder, flushes
// it to the medium and renames it over the old one, so a failure at any step
// (read-only medium, full disk, missing folder) leaves the previous settings
// file as it was. safefile.h gives the rules for what lies at the name: only
// a regular file is read, a link is replaced rather than written through, and
// anything else fails the save.
#pragma once

#include "settingslocation.h"
#include "settingsrecord.h"

#include <filesystem>

namespace vexel {

class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path path);
    explicit SettingsFile(SettingsLocation location);
    // The settings file in the program's own folder.
    static SettingsFile besideProgram(const std::filesystem::path& programDir);

    // Reads the location's file, or its fallback while the file does not
    // exist, and removes what killed saves left beside it. Missing, not a
    // regular file, unreadable, shorter than 200 bytes or another magic:
    // every setting to its default, the language included. Reads at most 200
    // bytes; a whole record goes into the buffer before its magic is checked.
    void load(Settings& settings);
    // True when the new record is on disk under the file's name. False leaves
    // the previous file exactly as it was and no temporary file behind; the
    // caller reports the error.
    bool save(const Settings& settings);

    // The file that saves write.
    const std::filesystem::path& path() const { return location_.file; }
    // The run's one record buffer: what was last read or written.
    const SettingsRecord& record() const { return record_; }

private:
    SettingsLocation location_;
    SettingsRecord record_;
};

}  // namespace vexel
