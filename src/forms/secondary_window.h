#pragma once

#include <QPointer>
#include <QWidget>

namespace vesk {

// A window opened from the main window: the main window hides while it is open. Closing it, by
// its Exit button or by the window frame's close control, destroys it (its lists and choices are
// lost) and shows the main window again.
class SecondaryWindow : public QWidget {
    Q_OBJECT
  public:
    SecondaryWindow(QWidget* main_window, const QString& object_name, const QString& caption);

    // Hides the main window and shows this one.
    void open();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QPointer<QWidget> main_window_;
};

}  // namespace vesk
