#include "settingsfile.h"

#include "safefile.h"

#include <system_error>
#include <utility>

namespace vexel {

namespace fs = std::filesystem;

SettingsFile::SettingsFile(std::filesystem::path path) : location_{std::move(path), {}, false} {}

SettingsFile::SettingsFile(SettingsLocation location) : location_(std::move(location)) {}

SettingsFile SettingsFile::besideProgram(const std::filesystem::path& programDir) {
    return SettingsFile(programDir / SETTINGS_FILE_NAME);
}

void SettingsFile::load(Settings& settings) {
    fs::path source = location_.file;
    std::error_code ec;
    if (!location_.fallback.empty() && !fs::exists(source, ec) && !ec) source = location_.fallback;

    // Leftovers of saves that were killed halfway go at start, not only at the next save.
    removeStaleTemporaries(location_.file);

    SettingsRecord::Bytes bytes{};
    const std::size_t got = readRegularFile(source, bytes).value_or(0);
    // A whole record is the run's buffer from now on, whatever its magic says.
    if (got == bytes.size()) record_.fill(bytes);
    if (!record_.decode(std::span(bytes.data(), got), settings)) settings.reset(true);
}

bool SettingsFile::save(const Settings& settings) {
    const SettingsRecord::Bytes& bytes = record_.encode(settings);
    if (location_.makeFolder && !makePrivateFolders(location_.file)) return false;
    return replaceFile(location_.file, bytes);
}

}  // namespace vexel
