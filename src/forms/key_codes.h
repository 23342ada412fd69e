#pragma once

#include <QKeyEvent>

namespace vesk {

// The key codes the key handlers compare with: those of the keys they act on, 0 for any other.
inline constexpr int key_enter = 13;
inline constexpr int key_escape = 27;
inline constexpr int key_page_up = 33;
inline constexpr int key_page_down = 34;
inline constexpr int key_up = 38;
inline constexpr int key_down = 40;
inline constexpr int key_delete = 46;

inline int key_code(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return key_enter;
        case Qt::Key_Escape:
            return key_escape;
        case Qt::Key_PageUp:
            return key_page_up;
        case Qt::Key_PageDown:
            return key_page_down;
        case Qt::Key_Up:
            return key_up;
        case Qt::Key_Down:
            return key_down;
        case Qt::Key_Delete:
            return key_delete;
        default:
            return 0;
    }
}

}  // namespace vesk
