#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTableView>

#include "core/layout_check.h"

class QKeyEvent;

namespace vesk {

struct AppState;
class FocusLeaveGuard;
class NavigationBar;
class UserInterface;
class VariableCellDelegate;
class VariableTableModel;

// The variable grid DataGridX bound to table variable, and its navigation bar AdodcX. The model
// works on db_conn and writes a row when it is complete or when the cursor leaves it. Every
// cell confirmed with Enter, and the current cell when the focus leaves the grid, is checked
// against the record length; a cell left otherwise is written with its corrections.
class VariableGrid : public QObject {
    Q_OBJECT
  public:
    VariableGrid(AppState& state, UserInterface& ui, QTableView* view, NavigationBar* bar,
                 QObject* parent = nullptr);
    ~VariableGrid() override;

    // Binds the grid to table variable in ID order. False when the table cannot be read
    // (last_error() says why).
    bool bind();
    // Captions the visible columns, hides ID, makes the name column current, sets the caption.
    void reset_gridX();
    // Writes the edits still waiting, reads table variable again and moves to the last record;
    // false on failure (last_error() says why), with nothing dropped. caption_follows false: the
    // position caption stays as it was through the move, for the caller to set.
    bool requery_to_last(bool caption_follows = true);
    // Discards a blank new row when it is the only record.
    void cancel_blank_row();
    // Starts a new record holding only its ID, with the cursor on its name.
    void start_new_record(qint64 id);

    // Records, the new one being entered included; the new-row line is not one.
    int record_count() const;
    // 1 = first record; 0 when there is none or the cursor is on the new-row line.
    int absolute_position() const;
    void move_to_row(int row);
    void move_last();
    // "Record " + position in the signed form + "/" + count.
    QString position_text() const;
    void set_position_caption();

    // Asks, then deletes the current record: the Delete key and the grid's context menu.
    void delete_current_record();

    // Handlers of the grid's events, named after the grid and the event.
    void DataGridX_KeyDown(int key);
    void DataGridX_Validate(bool& cancel);
    void DataGridX_AfterColUpdate(int row, int column);
    void DataGridX_AfterColEdit(int row, int column);
    void DataGridX_OnAddNew();
    void DataGridX_BeforeDelete(bool& cancel);
    void DataGridX_RowColChange();
    void DataGridX_Error(const QString& text);

    // Enter in the grid or in its cell editor: the check, then on as Tab.
    void enter_pressed();
    // Esc in the cell editor: what was typed is dropped; a second Esc drops the row's changes.
    void escape_in_editor();
    // Writes a cell the user has left; refuses what the table cannot hold.
    void write_cell(const QModelIndex& cell, const QString& text);

    QString last_error() const { return last_error_; }
    VariableTableModel* model() const { return model_; }
    QTableView* view() const { return view_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool view_key(const QKeyEvent* event);
    void current_changed(const QModelIndex& current, const QModelIndex& previous);
    void show_context_menu(const QPoint& position);
    // Esc outside the cell editor: the current row's unwritten changes are dropped.
    void cancel_row_changes();

    int current_row() const;
    QModelIndex cell(int row, int column) const;
    // The current cell's text as the grid shows it: the editor's while one is open.
    QString current_text() const;
    QString stored_text(int row, int column) const;
    CellCheck check_current_cell(EmptyKey empty_key) const;
    // Nothing the user could want stored: the new-row line or a blank new record.
    bool nothing_to_store_at(int row) const;

    // After a failed check: the typed text is dropped and the cursor goes back to the cell.
    void stay_move(int row, int column, bool take_focus);
    // After a good last cell of a row: on to the name of the next row, or the new-row line.
    void next_row_move(int row, bool take_focus);
    // The grid's Tab: the current cell is written and the cursor moves one cell on.
    void tab_to_next_cell();
    void alert_later(const QString& text);

    AppState& state_;
    UserInterface& ui_;
    QPointer<QTableView> view_;
    const QObject* view_object_ = nullptr;
    const QObject* viewport_object_ = nullptr;
    NavigationBar* bar_;
    VariableTableModel* model_ = nullptr;
    VariableCellDelegate* delegate_ = nullptr;
    FocusLeaveGuard* leave_guard_ = nullptr;
    QString last_error_;
    bool caption_follows_ = true;  // the position caption follows the cursor
};

}  // namespace vesk
