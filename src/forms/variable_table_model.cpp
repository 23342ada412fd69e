#include "forms/variable_table_model.h"

#include <QSqlRecord>

namespace vesk {

VariableTableModel::VariableTableModel(QObject* parent, const QSqlDatabase& db)
    : QSqlTableModel(parent, db) {
    setEditStrategy(QSqlTableModel::OnRowChange);
}

bool VariableTableModel::is_blank_new_row(int row) const {
    if (!isDirty() || headerData(row, Qt::Vertical).toString() != QLatin1String("*")) {
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

bool VariableTableModel::submit() {
    for (int row = 0; row < rowCount(); ++row) {
        if (is_blank_new_row(row)) {
            return true;  // stays pending until the user types into it or it is cancelled
        }
    }
    return QSqlTableModel::submit();
}

}  // namespace vesk
