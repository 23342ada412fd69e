#include "forms/variable_table_model.h"

#include <algorithm>

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace vesk {

namespace {
const QString new_row_mark = QStringLiteral("*");
}

VariableTableModel::VariableTableModel(QObject* parent, const QSqlDatabase& db)
    : QSqlTableModel(parent, db) {
    setEditStrategy(QSqlTableModel::OnRowChange);
}

int VariableTableModel::record_count() const {
    return QSqlTableModel::rowCount();
}

bool VariableTableModel::is_new_row_line(int row) const {
    return row == record_count() && columnCount() > 0;
}

int VariableTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return record_count() + (columnCount() > 0 ? 1 : 0);
}

QVariant VariableTableModel::data(const QModelIndex& index, int role) const {
    if (is_new_row_line(index.row())) {
        return {};
    }
    return QSqlTableModel::data(index, role);
}

bool VariableTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (is_new_row_line(index.row())) {
        return false;
    }
    return QSqlTableModel::setData(index, value, role);
}

QVariant VariableTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical && role == Qt::DisplayRole && is_new_row_line(section)) {
        return new_row_mark;
    }
    return QSqlTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags VariableTableModel::flags(const QModelIndex& index) const {
    if (is_new_row_line(index.row())) {
        // Typing here starts a new record first; the line itself holds nothing.
        return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    }
    return QSqlTableModel::flags(index);
}

bool VariableTableModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (row + count > record_count()) {
        return false;
    }
    return QSqlTableModel::removeRows(row, count, parent);
}

bool VariableTableModel::is_new_record(int row) const {
    // The base model marks rows it has yet to insert with *.
    return row >= 0 && row < record_count() && isDirty(index(row, 0)) &&
           QSqlTableModel::headerData(row, Qt::Vertical).toString() == new_row_mark;
}

bool VariableTableModel::is_blank_new_row(int row) const {
    if (!is_new_record(row)) {
        return false;
    }
    const QSqlRecord fields = record(row);
    for (int column = 0; column < fields.count(); ++column) {
        if (fields.fieldName(column).compare(QLatin1String("ID"), Qt::CaseInsensitive) != 0 &&
            !fields.isNull(column) && !fields.value(column).toString().trimmed().isEmpty()) {
            return false;
        }
    }
    return true;
}

bool VariableTableModel::start_new_record(qint64 id) {
    const int row = record_count();
    if (!insertRow(row)) {
        return false;
    }
    return setData(index(row, fieldIndex(QStringLiteral("ID"))), id);
}

qint64 VariableTableModel::largest_id() const {
    qint64 largest = 0;
    QSqlQuery query(database());
    if (query.exec(QStringLiteral("select max(ID) from variable")) && query.next()) {
        largest = query.value(0).toLongLong();
    }
    const int id_column = fieldIndex(QStringLiteral("ID"));
    for (int row = 0; row < record_count(); ++row) {
        largest = std::max(largest, data(index(row, id_column)).toLongLong());
    }
    return largest;
}

bool VariableTableModel::write_pending() {
    for (int row = 0; row < record_count(); ++row) {
        if (is_blank_new_row(row)) {
            return true;  // stays pending until the user types into it or it is cancelled
        }
    }
    return QSqlTableModel::submit();
}

bool VariableTableModel::submit() {
    if (!write_pending()) {
        emit dataError(lastError().text());
        return false;
    }
    return true;
}

}  // namespace vesk
