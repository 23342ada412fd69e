#include "forms/focus_leave_guard.h"

#include <utility>

#include <QApplication>
#include <QFocusEvent>
#include <QWidget>

namespace vesk {

FocusLeaveGuard::FocusLeaveGuard(QWidget* area, std::function<bool()> may_leave, QObject* parent)
    : QObject(parent), area_(area), may_leave_(std::move(may_leave)) {
    // Mouse presses give the focus before any widget's filter sees them, so the watch is
    // application-wide.
    qApp->installEventFilter(this);
}

FocusLeaveGuard::~FocusLeaveGuard() {
    qApp->removeEventFilter(this);
}

bool FocusLeaveGuard::inside(const QObject* object) const {
    for (auto* widget = qobject_cast<const QWidget*>(object); widget;
         widget = widget->parentWidget()) {
        if (widget == area_) {
            return true;
        }
    }
    return false;
}

bool FocusLeaveGuard::is_other_control(const QWidget* widget) const {
    return widget && area_ && !inside(widget) && widget->window() == area_->window();
}

bool FocusLeaveGuard::focus_leaves(const QFocusEvent* event) const {
    switch (event->reason()) {
        case Qt::PopupFocusReason:
        case Qt::ActiveWindowFocusReason:
        case Qt::NoFocusReason:
            return false;
        default:
            return is_other_control(QApplication::focusWidget());
    }
}

void FocusLeaveGuard::keep_focus() {
    swallow_press_ = true;
    // The focus is still changing hands here; it is taken back once that is done.
    QMetaObject::invokeMethod(
        this,
        [this] {
            swallow_press_ = false;
            if (area_) {
                area_->setFocus(Qt::OtherFocusReason);
            }
        },
        Qt::QueuedConnection);
}

bool FocusLeaveGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Shortcut:
            if (inside(QApplication::focusWidget()) &&
                is_other_control(qobject_cast<QWidget*>(watched))) {
                if (!may_leave_()) {
                    return true;
                }
                // The shortcut's own focus change follows at once; it is not asked about again.
                allowed_ = true;
                QMetaObject::invokeMethod(
                    this, [this] { allowed_ = false; }, Qt::QueuedConnection);
            }
            break;
        case QEvent::FocusOut:
            if (inside(watched) && focus_leaves(static_cast<QFocusEvent*>(event))) {
                if (std::exchange(allowed_, false) || may_leave_()) {
                    break;
                }
                keep_focus();
                return true;
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (swallow_press_ && !inside(watched)) {
                swallow_press_ = false;
                swallow_release_ = true;
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (std::exchange(swallow_release_, false) && !inside(watched)) {
                return true;
            }
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vesk
