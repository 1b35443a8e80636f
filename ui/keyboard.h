// Keys on the main window: the arrow keys, Space and Enter drive the board's
// keyboard cursor; every other key is left to the window.
#pragma once

#include "core/game.h"

#include <optional>

namespace vexel {

std::optional<CursorKey> cursorKeyFor(int qtKey);

}  // namespace vexel
