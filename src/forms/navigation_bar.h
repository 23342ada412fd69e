#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace vesk {

// The navigation bar under the variable grid: first, previous, next and last record, with the
// position caption between the arrows.
class NavigationBar : public QWidget {
    Q_OBJECT
  public:
    explicit NavigationBar(QWidget* parent = nullptr);

    void setCaption(const QString& caption);
    QString caption() const;

  signals:
    void moveFirst();
    void movePrevious();
    void moveNext();
    void moveLast();

  private:
    QLabel* caption_;
};

}  // namespace vesk
