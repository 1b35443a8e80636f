#include "layout.h"

namespace vexel {

int maxSizeUnitForScreen(int screenWidth) {
    for (int level = 5; level >= 2; --level)
        if (screenWidth >= SCREEN_WIDTH_STEPS[level - 2]) return level;
    return 1;
}

int sizeUnitForClient(int clientWidth, int clientHeight) {
    int u = 1;
    // The board needs 178 units of height and the board plus panel 252 of width.
    while (clientHeight >= 178 * (u + 1) && clientWidth >= 252 * (u + 1)) ++u;
    return u;
}

int panelFontPoints(int u) {
    switch (u) {
        case 1: return 8;
        case 2: return 10;
        case 3: return 12;
        default: return 16;
    }
}

}  // namespace vexel
