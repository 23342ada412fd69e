#include "forms/secondary_window.h"

#include <QCloseEvent>

#include "forms/window_geometry.h"

namespace vesk {

SecondaryWindow::SecondaryWindow(QWidget* main_window, const QString& object_name,
                                 const QString& caption)
    : QWidget(nullptr, Qt::Window), main_window_(main_window) {
    setObjectName(object_name);
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
}

void SecondaryWindow::open() {
    place_top_left(this);
    if (main_window_) {
        main_window_->hide();
    }
    show();
}

void SecondaryWindow::closeEvent(QCloseEvent* event) {
    // Shown before this window goes, so the program never finds itself without a window.
    if (main_window_) {
        main_window_->show();
    }
    event->accept();
}

}  // namespace vesk
