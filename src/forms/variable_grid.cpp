#include "forms/variable_grid.h"

#include <algorithm>

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QTableView>

#include "core/app_state.h"
#include "core/number_text.h"
#include "core/variable_table.h"
#include "forms/focus_leave_guard.h"
#include "forms/key_codes.h"
#include "forms/navigation_bar.h"
#include "forms/variable_cell_delegate.h"
#include "forms/variable_table_model.h"
#include "platform/user_interface.h"

namespace vesk {

namespace {

constexpr int column_width = 100;  // 1500 twips, the least a column gets

// Enter on a good cell of the last column goes on to the next row.
constexpr int last_column = column_decimals;

// A key that opens the cell editor with what it types, or F2 that opens it as it stands.
bool starts_editing(const QKeyEvent* event) {
    if (event->key() == Qt::Key_F2) {
        return true;
    }
    const auto commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return !event->text().isEmpty() && event->text().at(0).isPrint() &&
           !(event->modifiers() & commands);
}

// What a cell holds once written: nothing for blank text, whole numbers for start, length and
// decimals (the write check has made sure they are numbers).
QVariant cell_value(int column, const QString& text) {
    if (text.trimmed().isEmpty()) {
        return {};
    }
    if (column == column_start || column == column_length || column == column_decimals) {
        return static_cast<qlonglong>(stored_position(text.toStdString()).value_or(0));
    }
    return text;
}

}  // namespace

VariableGrid::VariableGrid(AppState& state, UserInterface& ui, QTableView* view, NavigationBar* bar,
                           QObject* parent)
    : QObject(parent), state_(state), ui_(ui), view_(view), bar_(bar) {
    model_ = new VariableTableModel(state_.db_conn, this);
    connect(model_, &VariableTableModel::dataError, this, &VariableGrid::DataGridX_Error);

    delegate_ = new VariableCellDelegate(*this, this);
    view_->setItemDelegate(delegate_);
    view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    view_->setTabKeyNavigation(true);
    view_->setToolTip(
        tr("Enter checks the cell and moves on; Esc drops what was typed, a second "
           "Esc the row's changes.\nThe Delete key or the right mouse button "
           "deletes the current record."));
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &VariableGrid::show_context_menu);
    view_object_ = view_;
    viewport_object_ = view_->viewport();
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    leave_guard_ = new FocusLeaveGuard(
        view_,
        [this] {
            bool cancel = false;
            DataGridX_Validate(cancel);
            return !cancel;
        },
        this);

    connect(bar_, &NavigationBar::moveFirst, this, [this] { move_to_row(0); });
    connect(bar_, &NavigationBar::movePrevious, this,
            [this] { move_to_row(std::max(0, current_row() - 1)); });
    connect(bar_, &NavigationBar::moveNext, this,
            [this] { move_to_row(std::min(record_count() - 1, current_row() + 1)); });
    connect(bar_, &NavigationBar::moveLast, this, &VariableGrid::move_last);
}

VariableGrid::~VariableGrid() {
    delete leave_guard_;
    if (view_) {
        view_->removeEventFilter(this);
        view_->viewport()->removeEventFilter(this);
        view_->setModel(nullptr);
    }
    delete model_;
    model_ = nullptr;
}

bool VariableGrid::bind() {
    const bool ok = model_->select();
    if (!ok) {
        last_error_ = model_->last_error();
    }
    if (view_->model() != model_) {
        view_->setModel(model_);
        connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
                &VariableGrid::current_changed);
        // The columns share what the window gives the grid, each at least 1500 twips wide.
        view_->horizontalHeader()->setMinimumSectionSize(column_width);
        view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    }
    return ok;
}

QModelIndex VariableGrid::cell(int row, int column) const {
    return model_->index(row, column);
}

void VariableGrid::reset_gridX() {
    // The model gives the columns their captions.
    for (int column = 0; column < model_->columnCount(); ++column) {
        view_->setColumnHidden(column, column == column_id);
    }
    view_->viewport()->update();
    const int row = std::max(0, current_row());
    if (record_count() > 0) {
        view_->setCurrentIndex(cell(std::min(row, record_count() - 1), column_name));
    }
    set_position_caption();
}

bool VariableGrid::requery_to_last(bool caption_follows) {
    const QScopedValueRollback<bool> follow(caption_follows_, caption_follows);
    // Reading the table again drops what the grid has not written yet: an edit the user left
    // in the current row is written first.
    if (!model_->write_pending()) {
        last_error_ = model_->last_error();
        return false;
    }
    if (!bind()) {
        return false;
    }
    if (record_count() > 0) {
        move_last();
    }
    return true;
}

void VariableGrid::cancel_blank_row() {
    if (record_count() != 1) {
        return;
    }
    const int row = model_->is_new_row_line(current_row()) ? 0 : std::max(0, current_row());
    view_->setCurrentIndex(cell(row, column_name));
    if (model_->is_blank_new_row(0) && current_text().trimmed().isEmpty()) {
        delegate_->discard();
        model_->cancel_row(0);
    }
}

void VariableGrid::start_new_record(qint64 id) {
    const int row = record_count();
    model_->start_new_record(id);
    view_->setCurrentIndex(cell(row, column_name));
}

int VariableGrid::record_count() const {
    return model_->record_count();
}

int VariableGrid::current_row() const {
    return view_->currentIndex().row();
}

int VariableGrid::absolute_position() const {
    const int row = current_row();
    return row >= 0 && row < record_count() ? row + 1 : 0;
}

void VariableGrid::move_to_row(int row) {
    if (row < 0 || row >= record_count()) {
        return;
    }
    const int column = std::max(1, view_->currentIndex().column());
    view_->setCurrentIndex(cell(row, column));
    if (caption_follows_) {
        set_position_caption();
    }
}

void VariableGrid::move_last() {
    move_to_row(record_count() - 1);
}

QString VariableGrid::position_text() const {
    return QStringLiteral("Record ") +
           QString::fromStdString(signed_form(static_cast<double>(absolute_position()))) +
           QLatin1Char('/') + QString::number(record_count());
}

void VariableGrid::set_position_caption() {
    bar_->setCaption(position_text());
}

// --- reading the grid ---

QString VariableGrid::stored_text(int row, int column) const {
    return model_->data(cell(row, column), Qt::EditRole).toString();
}

QString VariableGrid::current_text() const {
    const QModelIndex current = view_->currentIndex();
    if (delegate_->edited_cell().isValid() && delegate_->edited_cell() == current) {
        return delegate_->edited_text();
    }
    return stored_text(current.row(), current.column());
}

CellCheck VariableGrid::check_current_cell(EmptyKey empty_key) const {
    const QModelIndex current = view_->currentIndex();
    const std::string start = stored_text(current.row(), column_start).toStdString();
    const std::string length = stored_text(current.row(), column_length).toStdString();
    return check_layout_cell(current.column(), current_text().toStdString(),
                             {state_.rec_len, start, length, empty_key});
}

bool VariableGrid::nothing_to_store_at(int row) const {
    return model_->is_new_row_line(row) ||
           (model_->is_blank_new_row(row) && current_text().trimmed().isEmpty());
}

// --- moves ---

void VariableGrid::stay_move(int row, int column, bool take_focus) {
    delegate_->discard();
    view_->setCurrentIndex(cell(row, std::max(column - 1, 0)));
    if (take_focus) {
        view_->setFocus();
    }
}

void VariableGrid::next_row_move(int row, bool take_focus) {
    const int next = std::min(row + 1, model_->rowCount() - 1);
    view_->setCurrentIndex(cell(next, column_id));
    if (take_focus) {
        view_->setFocus();
    }
}

void VariableGrid::tab_to_next_cell() {
    const QModelIndex current = view_->currentIndex();
    if (!current.isValid()) {
        return;
    }
    delegate_->commit();
    int row = current.row();
    int column = current.column() + 1;
    if (column > last_column) {
        column = column_name;
        ++row;
    }
    if (row < model_->rowCount()) {
        view_->setCurrentIndex(cell(row, column));
    }
}

// The box opens once the key or focus change being handled is done, with the cursor already
// resting where it belongs.
void VariableGrid::alert_later(const QString& text) {
    QMetaObject::invokeMethod(
        this, [this, text] { alert_msg(ui_, text); }, Qt::QueuedConnection);
}

// --- handlers ---

void VariableGrid::enter_pressed() {
    DataGridX_KeyDown(key_enter);
    tab_to_next_cell();  // Enter moves on as Tab does
    // The closed editor hands the focus back only while the window is active; the keys that
    // follow belong to the grid either way.
    view_->setFocus();
}

void VariableGrid::escape_in_editor() {
    delegate_->discard();
    view_->setFocus();
}

void VariableGrid::DataGridX_KeyDown(int key) {
    if (key == key_enter) {
        const QModelIndex start = view_->currentIndex();
        const CellCheck check = check_current_cell(EmptyKey::passes);
        if (!check.passed) {
            stay_move(start.row(), start.column(), true);
            if (!check.message.empty()) {
                alert_later(QString::fromStdString(check.message));
            }
        } else if (start.column() == last_column) {
            next_row_move(start.row(), true);
        }
    }
    if (key == key_enter || key == key_up || key == key_down || key == key_page_up ||
        key == key_page_down) {
        set_position_caption();
    }
}

void VariableGrid::DataGridX_Validate(bool& cancel) {
    if (record_count() < 1) {
        return;
    }
    cancel = false;
    const QModelIndex start = view_->currentIndex();
    if (!start.isValid() || nothing_to_store_at(start.row())) {
        return;
    }
    const CellCheck check = check_current_cell(EmptyKey::fails);
    // The focus is on its way out: it is not pulled back here, and the cursor comes to rest
    // where Enter would have left it.
    if (!check.passed) {
        if (!check.message.empty()) {
            alert_later(QString::fromStdString(check.message));
        }
        cancel = true;
        stay_move(start.row(), start.column(), false);
        tab_to_next_cell();
    } else if (start.column() == last_column) {
        next_row_move(start.row(), false);
        tab_to_next_cell();
    }
}

void VariableGrid::write_cell(const QModelIndex& index, const QString& text) {
    const int column = index.column();
    const CellCheck allowed = check_layout_write(column, text.toStdString());
    if (!allowed.passed) {
        alert_later(QString::fromStdString(allowed.message));
        return;
    }
    model_->setData(index, cell_value(column, text));
    DataGridX_AfterColUpdate(index.row(), column);
    DataGridX_AfterColEdit(index.row(), column);
}

void VariableGrid::DataGridX_AfterColUpdate(int row, int column) {
    if (column != column_name && column != column_type && column != column_key) {
        return;
    }
    const QString text = stored_text(row, column);
    const QString kept = QString::fromStdString(corrected_layout_value(column, text.toStdString()));
    if (kept != text) {
        model_->setData(cell(row, column), kept);
    }
}

void VariableGrid::DataGridX_AfterColEdit(int row, int column) {
    if (column <= column_name) {
        return;
    }
    for (const int filled :
         {int{column_name}, int{column_start}, int{column_length}, int{column_type}}) {
        if (stored_text(row, filled).isEmpty()) {
            return;
        }
    }
    model_->submit();
}

void VariableGrid::DataGridX_OnAddNew() {
    // A new record cannot start while another one waits to be written.
    for (int row = record_count() - 1; row >= 0; --row) {
        if (model_->is_blank_new_row(row)) {
            model_->cancel_row(row);
        }
    }
    if (model_->is_dirty() && !model_->submit()) {
        return;
    }
    // Largest ID + 1 rather than the count + 1: IDs stay unique after a deletion.
    start_new_record(model_->largest_id() + 1);
    view_->setFocus();
}

void VariableGrid::DataGridX_BeforeDelete(bool& cancel) {
    // The name says which row goes: the cursor may rest on another one than the user thinks.
    const QString name = stored_text(current_row(), column_name).trimmed();
    cancel = !ui_.ask_yes_no(
        name.isEmpty()
            ? QStringLiteral("Are you sure that you want to delete the record?")
            : QStringLiteral("Are you sure that you want to delete the record of variable %1?")
                  .arg(name));
}

void VariableGrid::delete_current_record() {
    const int row = current_row();
    if (row < 0 || row >= record_count()) {
        return;
    }
    bool cancel = false;
    DataGridX_BeforeDelete(cancel);
    if (cancel) {
        return;
    }
    delegate_->discard();
    const int column = std::max(int{column_name}, view_->currentIndex().column());
    if (!model_->remove_record(row)) {
        DataGridX_Error(model_->last_error());
        return;
    }
    view_->setCurrentIndex(cell(std::min(row, model_->rowCount() - 1), column));
    set_position_caption();
}

void VariableGrid::cancel_row_changes() {
    const int row = current_row();
    if (row >= 0 && row < record_count()) {
        model_->cancel_row(row);
        set_position_caption();
    }
}

void VariableGrid::DataGridX_RowColChange() {
    if (record_count() >= 1 && caption_follows_) {
        set_position_caption();
    }
}

void VariableGrid::DataGridX_Error(const QString& text) {
    // Raised while the grid is in the middle of a move; the box waits until the move is done.
    QMetaObject::invokeMethod(
        this, [this, text] { ui_.message(text); }, Qt::QueuedConnection);
}

void VariableGrid::current_changed(const QModelIndex& current, const QModelIndex& previous) {
    // A move the model makes while it removes a row is not the user leaving that row.
    if (!model_->rearranging() && previous.isValid() && previous.row() != current.row()) {
        if (model_->is_blank_new_row(previous.row())) {
            model_->cancel_row(previous.row());  // a blank new record is never stored
            set_position_caption();
        } else if (!model_->write_row(previous.row())) {
            DataGridX_Error(model_->last_error());
        }
    }
    DataGridX_RowColChange();
}

// --- events ---

bool VariableGrid::eventFilter(QObject* watched, QEvent* event) {
    // Compared as plain objects: the view sends events to its filters while it is destroyed.
    if (event->type() == QEvent::KeyPress && watched == view_object_) {
        return view_key(static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::MouseButtonDblClick && watched == viewport_object_) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (model_->is_new_row_line(view_->indexAt(mouse->position().toPoint()).row())) {
            DataGridX_OnAddNew();
            view_->edit(view_->currentIndex());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

bool VariableGrid::view_key(const QKeyEvent* event) {
    switch (key_code(event)) {
        case key_enter:
            enter_pressed();
            return true;
        case key_escape:
            cancel_row_changes();
            return true;
        case key_delete:
            delete_current_record();
            return true;
        case key_up:
        case key_down:
        case key_page_up:
        case key_page_down:
            DataGridX_KeyDown(key_code(event));
            return false;  // the grid moves as usual
        default:
            if (model_->is_new_row_line(current_row()) && starts_editing(event)) {
                DataGridX_OnAddNew();
            }
            return false;
    }
}

void VariableGrid::show_context_menu(const QPoint& position) {
    const QModelIndex clicked = view_->indexAt(position);
    if (!clicked.isValid() || clicked.row() >= record_count()) {
        return;
    }
    view_->setCurrentIndex(cell(clicked.row(), std::max(int{column_name}, clicked.column())));
    QMenu menu(view_);
    QAction* remove = menu.addAction(tr("&Delete record"));
    if (menu.exec(view_->viewport()->mapToGlobal(position)) == remove) {
        delete_current_record();
    }
}

}  // namespace vesk
