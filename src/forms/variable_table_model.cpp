#include "forms/variable_table_model.h"

#include <algorithm>

#include "core/database.h"
#include "core/layout_check.h"

namespace vesk {

namespace {

const QString new_row_mark = QStringLiteral("*");
const QString new_row_tip = QStringLiteral("Type here to add a variable");
// A pencil, as grids mark a row whose edits are not stored yet.
const QString unstored_mark = QStringLiteral("\u270E");
const QString unstored_tip =
    QStringLiteral("Not stored yet: stored when the row is complete or the cursor leaves it");
constexpr int column_count = 7;
const char* const captions[column_count] = {"ID",       "VARIABLE",  "START POSITION", "LENGTH",
                                            "VAR TYPE", "PKEY(Y/N)", "DECIMALS"};

QVariant shown_text(const std::optional<std::string>& text) {
    return text ? QVariant(QString::fromStdString(*text)) : QVariant();
}

QVariant shown_number(const std::optional<std::int64_t>& number) {
    return number ? QVariant(static_cast<qlonglong>(*number)) : QVariant();
}

std::optional<std::string> kept_text(const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        return std::nullopt;
    }
    return value.toString().toStdString();
}

std::optional<std::int64_t> kept_number(const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        return std::nullopt;
    }
    return value.toLongLong();
}

bool blank(const std::optional<std::string>& text) {
    return !text || QString::fromStdString(*text).trimmed().isEmpty();
}

bool complete(const VariableRow& row) {
    return row.name && row.start && row.length && row.type;
}

}  // namespace

VariableTableModel::VariableTableModel(Database& db, QObject* parent)
    : QAbstractTableModel(parent), db_(db) {}

bool VariableTableModel::select() {
    std::vector<VariableRow> rows;
    try {
        rows = read_variable_rows(db_, LayoutTable::draft);
    } catch (const DbError& e) {
        last_error_ = QString::fromStdString(e.what());
        return false;
    }
    rearranging_ = true;
    beginResetModel();
    records_.clear();
    for (const VariableRow& row : rows) {
        records_.push_back({row, row, true, false, true});
    }
    line_shown_ = true;
    endResetModel();
    rearranging_ = false;
    return true;
}

int VariableTableModel::record_count() const {
    return static_cast<int>(records_.size());
}

bool VariableTableModel::is_new_row_line(int row) const {
    return line_shown_ && row == record_count();
}

bool VariableTableModel::is_new_record(int row) const {
    return row >= 0 && row < record_count() && records_[row].started_here &&
           !records_[row].ever_complete;
}

bool VariableTableModel::is_blank_new_row(int row) const {
    if (!is_new_record(row)) {
        return false;
    }
    const VariableRow& shown = records_[row].shown;
    return blank(shown.name) && !shown.start && !shown.length && blank(shown.type) &&
           blank(shown.key) && !shown.decimals;
}

bool VariableTableModel::is_dirty(int row) const {
    return row >= 0 && row < record_count() &&
           (!records_[row].in_table || records_[row].shown != records_[row].stored);
}

bool VariableTableModel::is_dirty() const {
    for (int row = 0; row < record_count(); ++row) {
        if (is_dirty(row)) {
            return true;
        }
    }
    return false;
}

void VariableTableModel::start_new_record(qint64 id) {
    const int row = record_count();
    Record record;
    record.shown.id = id;
    record.started_here = true;
    if (line_shown_) {
        // The new-row line becomes the record: no row comes or goes.
        records_.push_back(record);
        line_shown_ = false;
        emit_row_changed(row);
        return;
    }
    beginInsertRows({}, row, row);
    records_.push_back(record);
    endInsertRows();
}

qint64 VariableTableModel::largest_id() const {
    qint64 largest = 0;
    try {
        largest = largest_variable_id(db_);
    } catch (const DbError&) {
        // The grid's own records still give an ID no other record has.
    }
    for (const Record& record : records_) {
        largest = std::max<qint64>(largest, record.shown.id);
    }
    return largest;
}

bool VariableTableModel::write_row(int row) {
    if (!is_dirty(row) || is_blank_new_row(row)) {
        return true;
    }
    Record& record = records_[row];
    try {
        store_variable_row(db_, record.shown);
    } catch (const DbError& e) {
        last_error_ = QString::fromStdString(e.what());
        return false;
    }
    record.stored = record.shown;
    record.in_table = true;
    record.ever_complete = record.ever_complete || complete(record.shown);
    emit headerDataChanged(Qt::Vertical, row, row);
    emit stored();
    return true;
}

bool VariableTableModel::write_pending() {
    for (int row = 0; row < record_count(); ++row) {
        if (!write_row(row)) {
            return false;
        }
    }
    return true;
}

bool VariableTableModel::submit() {
    // The view submits whenever its current row changes, also when that is a record going.
    if (rearranging_) {
        return true;
    }
    if (!write_pending()) {
        emit dataError(last_error_);
        return false;
    }
    return true;
}

void VariableTableModel::cancel_row(int row) {
    if (row < 0 || row >= record_count()) {
        return;
    }
    if (is_new_record(row)) {
        // A record that was never complete is never kept, even when leaving it wrote it.
        if (records_[row].in_table) {
            try {
                delete_variable_row(db_, records_[row].shown.id);
            } catch (const DbError& e) {
                last_error_ = QString::fromStdString(e.what());
                emit dataError(last_error_);
                return;
            }
            drop_record(row);
            emit stored();
            return;
        }
        drop_record(row);
        return;
    }
    records_[row].shown = records_[row].stored;
    emit dataChanged(index(row, 0), index(row, column_count - 1));
}

bool VariableTableModel::remove_record(int row) {
    if (row < 0 || row >= record_count()) {
        return false;
    }
    if (records_[row].in_table) {
        try {
            delete_variable_row(db_, records_[row].stored.id);
        } catch (const DbError& e) {
            last_error_ = QString::fromStdString(e.what());
            return false;
        }
        drop_record(row);
        emit stored();
        return true;
    }
    drop_record(row);
    return true;
}

void VariableTableModel::drop_record(int row) {
    rearranging_ = true;
    if (!line_shown_ && row == record_count() - 1) {
        // The blank record standing for the new-row line becomes the line again.
        records_.erase(records_.begin() + row);
        line_shown_ = true;
        emit_row_changed(row);
    } else {
        beginRemoveRows({}, row, row);
        records_.erase(records_.begin() + row);
        endRemoveRows();
        show_new_row_line_when_wanted();
    }
    rearranging_ = false;
}

void VariableTableModel::show_new_row_line_when_wanted() {
    const bool wanted = records_.empty() || !is_blank_new_row(record_count() - 1);
    if (wanted == line_shown_) {
        return;
    }
    const int row = record_count();
    if (wanted) {
        beginInsertRows({}, row, row);
        line_shown_ = true;
        endInsertRows();
    } else {
        beginRemoveRows({}, row, row);
        line_shown_ = false;
        endRemoveRows();
    }
}

void VariableTableModel::emit_row_changed(int row) {
    emit dataChanged(index(row, 0), index(row, column_count - 1));
    emit headerDataChanged(Qt::Vertical, row, row);
}

int VariableTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : record_count() + (line_shown_ ? 1 : 0);
}

int VariableTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : column_count;
}

QVariant VariableTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= record_count() ||
        (role != Qt::DisplayRole && role != Qt::EditRole)) {
        return {};
    }
    const VariableRow& row = records_[index.row()].shown;
    switch (index.column()) {
        case column_id:
            return static_cast<qlonglong>(row.id);
        case column_name:
            return shown_text(row.name);
        case column_start:
            return shown_number(row.start);
        case column_length:
            return shown_number(row.length);
        case column_type:
            return shown_text(row.type);
        case column_key:
            return shown_text(row.key);
        case column_decimals:
            return shown_number(row.decimals);
        default:
            return {};
    }
}

bool VariableTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= record_count() || role != Qt::EditRole) {
        return false;
    }
    VariableRow& row = records_[index.row()].shown;
    switch (index.column()) {
        case column_name:
            row.name = kept_text(value);
            break;
        case column_start:
            row.start = kept_number(value);
            break;
        case column_length:
            row.length = kept_number(value);
            break;
        case column_type:
            row.type = kept_text(value);
            break;
        case column_key:
            row.key = kept_text(value);
            break;
        case column_decimals:
            row.decimals = kept_number(value);
            break;
        default:
            return false;
    }
    emit dataChanged(index, index);
    emit headerDataChanged(Qt::Vertical, index.row(), index.row());
    show_new_row_line_when_wanted();
    return true;
}

QVariant VariableTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return section >= 0 && section < column_count && role == Qt::DisplayRole
                   ? QString::fromLatin1(captions[section])
                   : QVariant();
    }
    const bool tip = role == Qt::ToolTipRole;
    // A blank new record stands in for the new-row line and is marked like it.
    if (is_new_row_line(section) || is_blank_new_row(section)) {
        return tip ? new_row_tip : new_row_mark;
    }
    if (section >= 0 && section < record_count() && !records_[section].in_table) {
        return tip ? unstored_tip : unstored_mark;
    }
    return tip ? QVariant() : QVariant(section + 1);
}

Qt::ItemFlags VariableTableModel::flags(const QModelIndex& index) const {
    if (is_new_row_line(index.row())) {
        // Typing here starts a new record first; the line itself holds nothing.
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    }
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

}  // namespace vesk
