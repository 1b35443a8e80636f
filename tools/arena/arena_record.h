// The arena's records: each game written to a folder, and records read back
// and replayed through the game's own move entry, each file reported on one
// line.
#pragma once

#include "core/gamestate.h"

#include <string>
#include <string_view>

namespace vexel::arena {

// Writes `text` to folder/game-N.vxg; false with `error` when it cannot.
bool writeGameRecord(const std::string& folder, int gameNumber, const std::string& text, std::string& error);

struct RecordCheck {
    bool ok = false;
    std::string report;  // "NAME: ok, ..." or "NAME:LINE:COLUMN: what is wrong"
    GameState final;     // the replayed game's last state when ok
};

// Reads and replays one record: every move legal, and its finishing order and
// final position (when the record names them) as the moves give them.
RecordCheck checkRecordText(std::string_view name, std::string_view text);
// The same for a file (a regular file no larger than the record reader takes).
RecordCheck checkRecordFile(const std::string& path);

}  // namespace vexel::arena
