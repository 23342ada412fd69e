#pragma once

#include <QObject>
#include <QPointer>
#include <QTableView>
#include <QString>


namespace vesk {

struct AppState;
class NavigationBar;
class UserInterface;
class VariableTableModel;

// The variable grid DataGridX bound to table variable, and its navigation bar AdodcX. The model
// has its own connection to the database file and submits a row when the cursor leaves it.
class VariableGrid : public QObject {
    Q_OBJECT
public:
    VariableGrid(AppState& state, UserInterface& ui, QTableView* view, NavigationBar* bar,
                 QObject* parent = nullptr);
    ~VariableGrid() override;

    // Binds the grid to table variable in ID order, reading every row so no read lock is held.
    // False when the table cannot be read (last_error() says why).
    bool bind();
    // Captions the visible columns, hides ID, makes the name column current, sets the caption.
    void reset_gridX();
    // Reads table variable again and moves to the last record; false on failure.
    bool requery_to_last();
    // Discards a blank new row when it is the only record.
    void cancel_blank_row();
    // Starts a new record holding only its ID.
    void start_new_record(qint64 id);

    int record_count() const;
    // 1 = first record; 0 when there is none.
    int absolute_position() const;
    void move_to_row(int row);
    void move_last();
    // "Record " + position in the signed form + "/" + count.
    QString position_text() const;
    void set_position_caption();

    QString last_error() const { return last_error_; }
    VariableTableModel* model() const { return model_; }
    QTableView* view() const { return view_; }

signals:
    // The grid's data control met an error; the text is the engine's description.
    void dataControlError(const QString& description);

private:
    int column_of(const char* field) const;

    AppState& state_;
    UserInterface& ui_;
    QPointer<QTableView> view_;
    NavigationBar* bar_;
    QString connection_name_;
    VariableTableModel* model_ = nullptr;
    QString last_error_;
};

}  // namespace vesk
