// Window size levels: every measure of the window is a whole multiple of the
// size unit. The largest level the screen allows opens maximized; a window
// resized by hand snaps to the level its client area holds.
#pragma once

#include <array>

namespace vexel {

// Smallest screen widths that allow size levels 2, 3, 4 and 5.
inline constexpr std::array<int, 4> SCREEN_WIDTH_STEPS = {639, 799, 1023, 1279};

// Client area of a window at level u: 256u x 180u; the board is 200u x 178u.
inline constexpr int CLIENT_WIDTH_UNITS = 256;
inline constexpr int CLIENT_HEIGHT_UNITS = 180;

int maxSizeUnitForScreen(int screenWidth);
// The largest level whose board fits the client area (at least 1).
int sizeUnitForClient(int clientWidth, int clientHeight);
// Point size of the turn panel's labels at level u.
int panelFontPoints(int u);

}  // namespace vexel
