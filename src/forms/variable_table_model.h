#pragma once

#include <QSqlTableModel>

namespace vesk {

// Table variable as the grid edits it. A row is written when the cursor leaves it; a new row the
// user has typed nothing into is never written, so a blank record cannot reach the table.
class VariableTableModel : public QSqlTableModel {
    Q_OBJECT
public:
    VariableTableModel(QObject* parent, const QSqlDatabase& db);

    bool submit() override;

    // True for a row that is not yet in the table and holds nothing but its ID.
    bool is_blank_new_row(int row) const;
};

}  // namespace vesk
