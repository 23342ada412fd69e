#pragma once

#include <QSqlTableModel>

namespace vesk {

// Table variable as the grid edits it: its records in ID order, then the new-row line marked *
// where typing starts a new record. A row is written when the cursor leaves it; a new record the
// user has typed nothing into is never written, so a blank record cannot reach the table.
class VariableTableModel : public QSqlTableModel {
    Q_OBJECT
  public:
    VariableTableModel(QObject* parent, const QSqlDatabase& db);

    // The stored records and a new one being entered; the new-row line is not a record.
    int record_count() const;
    bool is_new_row_line(int row) const;
    // True for a record that is not yet in the table.
    bool is_new_record(int row) const;
    // True for a new record that holds nothing but its ID.
    bool is_blank_new_row(int row) const;
    // Appends a new record holding only its ID; false while other changes wait to be written.
    bool start_new_record(qint64 id);
    // The largest ID in the table or in the grid.
    qint64 largest_id() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

    // Writes the changes waiting in the grid, a blank new record excepted; false on failure.
    bool write_pending();
    // The same, reporting a failure through dataError: the grid's row-wise store.
    bool submit() override;

  signals:
    // Writing a row failed; the text is the engine's.
    void dataError(const QString& text);
};

}  // namespace vesk
