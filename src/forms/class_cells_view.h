#pragma once

#include <QWidget>

#include <vector>

#include "core/app_state.h"

class QLabel;
class QTableWidget;

namespace vesk {

// Where the samples of one group of the chi-square test differ: per class its central and state
// records with their shares and the adjusted residual, coloured where it reaches 2 either way.
// Shows the group picked in the results table.
class ClassCellsView : public QWidget {
    Q_OBJECT
  public:
    explicit ClassCellsView(QWidget* parent);

    void show_group(const ChiGroupStats& group, const std::vector<ClassDef>& classes);
    void clear();

  private:
    QLabel* caption_ = nullptr;
    QTableWidget* table_ = nullptr;
};

}  // namespace vesk
