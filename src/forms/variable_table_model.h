#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

#include "core/variable_table.h"

namespace vesk {

// Table variable as the grid edits it, on db_conn: its records in ID order, then the new-row line
// marked * where typing starts a new record. A new record nothing is typed into yet takes the
// line's place, so one line is marked * where a new variable starts. A record's edits wait until
// it is written: when it is complete, when the cursor leaves it, or before the table is read
// again. A new record the user has typed nothing into is never written, and a new record that
// was never complete goes from the table too when its changes are cancelled.
class VariableTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    VariableTableModel(Database& db, QObject* parent);

    // Reads the table again; edits not yet written are dropped. False when the table cannot be
    // read (last_error() says why).
    bool select();

    // The stored records and a new one being entered; the new-row line is not a record.
    int record_count() const;
    bool is_new_row_line(int row) const;
    // True for a record started in the grid that has never been complete.
    bool is_new_record(int row) const;
    // True for a new record that holds nothing but its ID.
    bool is_blank_new_row(int row) const;
    // True for a record whose edits are not yet in the table.
    bool is_dirty(int row) const;
    bool is_dirty() const;
    // Appends a new record holding only its ID.
    void start_new_record(qint64 id);
    // The largest ID in the table or in the grid.
    qint64 largest_id() const;

    // Writes the record's edits; a blank new record stays unwritten. False on failure.
    bool write_row(int row);
    // Writes every record's edits, blank new records excepted; false on failure.
    bool write_pending();
    // Drops the record's unwritten edits; a new record goes, from the table too.
    void cancel_row(int row);
    // Deletes the record from the table and the grid; false on failure.
    bool remove_record(int row);

    QString last_error() const { return last_error_; }
    // True while records are being taken out or read again: the view then moves its cursor
    // itself, which is not the user leaving a record.
    bool rearranging() const { return rearranging_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // The grid's row-wise store: write_pending, reporting a failure through dataError.
    bool submit() override;

  signals:
    // Writing a record failed; the text is the engine's.
    void dataError(const QString& text);
    // A record was written to the table or deleted from it: the layout changed.
    void stored();

  private:
    struct Record {
        VariableRow stored;  // as the table holds it, when in_table
        VariableRow shown;   // with the edits not yet written
        bool in_table = false;
        bool started_here = false;
        bool ever_complete = false;
    };
    void drop_record(int row);
    // Shows the new-row line unless the last record is a blank new one standing in its place.
    void show_new_row_line_when_wanted();
    void emit_row_changed(int row);

    Database& db_;
    std::vector<Record> records_;
    QString last_error_;
    bool rearranging_ = false;
    bool line_shown_ = true;
};

}  // namespace vesk
