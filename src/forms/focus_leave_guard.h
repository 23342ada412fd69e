#pragma once

#include <functional>

#include <QObject>
#include <QPointer>

class QFocusEvent;
class QWidget;

namespace vesk {

// Asks before the keyboard focus leaves an area (a widget and everything in it) for another
// control of the same window, by a click, a shortcut or the keyboard. When the answer is no the
// focus comes back to the area, and the click or shortcut that was to move it does not act.
// Focus going to another window (a message box, a menu) is not leaving.
class FocusLeaveGuard : public QObject {
    Q_OBJECT
  public:
    FocusLeaveGuard(QWidget* area, std::function<bool()> may_leave, QObject* parent = nullptr);
    ~FocusLeaveGuard() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool inside(const QObject* object) const;
    bool is_other_control(const QWidget* widget) const;
    bool focus_leaves(const QFocusEvent* event) const;
    void keep_focus();

    QPointer<QWidget> area_;
    std::function<bool()> may_leave_;
    bool allowed_ = false;        // a shortcut has been let through; its focus change follows
    bool swallow_press_ = false;  // the press that moved the focus must not reach its widget
    bool swallow_release_ = false;
};

}  // namespace vesk
