// The program's two text tables, German and English, keyed by text id.
// Every caption that follows the language is fetched from here each time it is
// set, so a screen never keeps a translated text of its own.
//
// Invariants: both tables hold the same ids in the same order, sorted
// ascending and unique; texts are UTF-8, '&' marks an accelerator letter.
// Ids are grouped by screen: 1-19 main window and menu, 50-53 button words,
// 101-102 About box, 200-229 players and level dialogs, 300-312 environment
// dialog, 350-354 winners display, 800-803 message boxes, 850 turn panel,
// 860-899 game records, 900-959 the screen reader's texts, 960-979 file messages,
// 1000-1044 why a game record was refused (RecordProblem), 1045-1049 autosave
// and command-line messages, 1050-1099 what the screen reader is told beyond the
// board (refusals, summed-up moves, the dialogs' accessible names), 1100-1199
// network games, 1200-1219 marks on the pegs and the colour-blind palette
// (1210-1215 the marks' names as the screen reader says them, in the order of
// the colour indices), 1220-1249 the house rules.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/settings.h"

namespace vexel {

struct TextEntry {
    std::int32_t id;
    std::string_view text;
};

// The table of a language; empty for a language byte that names neither.
std::span<const TextEntry> textTable(Language language);

// The text of `id` in the language's table; "" for an id the table lacks and
// for a language that has no table.
std::string_view lookupText(Language language, std::uint16_t id);

}  // namespace vexel
