#pragma once

#include <QAbstractTableModel>

#include "forms/results_rows.h"

namespace vesk {

// The results table: one row per group, the significant groups shaded, the flagged ones marked
// with a warning sign, their flags in the last column and the reasons on hover. Sorts by the cells'
// numbers, not their text.
class ResultsTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int sort_role = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void set_table(ResultTable table);
    void set_choices(const Choices& choices);
    const ResultTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    ResultTable table_;
    Choices choices_;
};

}  // namespace vesk
