#include "notation.h"

#include "board.h"

namespace vexel {

namespace {

constexpr std::array<std::uint8_t, ROW_COUNT> makeRowStarts() {
    std::array<std::uint8_t, ROW_COUNT> first{};
    int next = 0;
    for (int r = 0; r < ROW_COUNT; ++r) {
        first[r] = std::uint8_t(next);
        next += ROW_LENGTHS[r];
    }
    return first;
}
constexpr std::array<std::uint8_t, ROW_COUNT> ROW_START = makeRowStarts();

}  // namespace

std::string holeName(CellIndex cell) {
    if (cell >= CELL_COUNT) return {};
    int row = ROW_COUNT - 1;
    while (ROW_START[row] > cell) --row;
    return char('A' + row) + std::to_string(cell - ROW_START[row] + 1);
}

CellIndex parseHoleName(std::string_view name) {
    if (name.size() < 2 || name.size() > 3) return NO_PEG;
    const char letter = name[0] >= 'a' && name[0] <= 'z' ? char(name[0] - 'a' + 'A') : name[0];
    if (letter < 'A' || letter >= 'A' + ROW_COUNT) return NO_PEG;
    const int row = letter - 'A';
    int place = 0;
    for (char c : name.substr(1)) {
        if (c < '0' || c > '9') return NO_PEG;
        place = place * 10 + (c - '0');
    }
    // "E05" would name E5 twice; the canonical form has no leading zero.
    if (name[1] == '0' || place < 1 || place > ROW_LENGTHS[row]) return NO_PEG;
    return CellIndex(ROW_START[row] + place - 1);
}

}  // namespace vexel
