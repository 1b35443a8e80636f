#include "keyboard.h"

#include <Qt>

namespace vexel {

std::optional<CursorKey> cursorKeyFor(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Return:
        case Qt::Key_Enter: return CursorKey::Enter;
        case Qt::Key_Space: return CursorKey::Space;
        case Qt::Key_Left: return CursorKey::Left;
        case Qt::Key_Up: return CursorKey::Up;
        case Qt::Key_Right: return CursorKey::Right;
        case Qt::Key_Down: return CursorKey::Down;
        default: return std::nullopt;
    }
}

}  // namespace vexel
