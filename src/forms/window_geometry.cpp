#include "forms/window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vesk {

void place_top_left(QWidget* window) {
    QRect area(0, 0, 1333, 800);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        area = QRect(available.topLeft(), QSize(1333, 800)).intersected(available);
    }
    window->resize(area.size());
    window->move(area.topLeft());
}

}  // namespace vesk
