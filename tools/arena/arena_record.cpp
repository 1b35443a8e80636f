#include "arena_record.h"

#include "core/replay.h"
#include "settings/safefile.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace vexel::arena {

namespace fs = std::filesystem;

bool writeGameRecord(const std::string& folder, int gameNumber, const std::string& text, std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path file = fs::path(folder) / ("game-" + std::to_string(gameNumber) + ".vxg");
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out) return true;
    error = "cannot write " + file.string();
    return false;
}

RecordCheck checkRecordText(std::string_view name, std::string_view text) {
    RecordCheck check;
    RecordError error;
    const auto record = readRecord(text, error);
    RecordReplay replay;
    if (!record || !replay.run(*record, error)) {
        check.report = describeError(name, error);
        return check;
    }
    check.ok = true;
    check.final = replay.game().state();
    std::string finish;
    for (Seat s : record->finishOrder) finish += " " + std::to_string(s + 1);
    check.report = std::string(name) + ": ok, " + std::to_string(record->moves.size()) + " moves, finish" +
                   (finish.empty() ? " -" : finish) + (record->position ? ", position checked" : "");
    return check;
}

RecordCheck checkRecordFile(const std::string& path) {
    // Only a regular file, so that a pipe given by mistake cannot hang the run.
    const auto bytes = readWholeRegularFile(path, MAX_RECORD_BYTES);
    if (!bytes) return {false, path + ":1:1: no regular file of at most " + std::to_string(MAX_RECORD_MB) + " MB that can be read", {}};
    return checkRecordText(path, std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

}  // namespace vexel::arena
