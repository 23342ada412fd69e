#include "forms/results_table_model.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QIcon>
#include <QStyle>

namespace vesk {

namespace {

const QColor significant_shade(255, 214, 153);

}  // namespace

void ResultsTableModel::set_table(ResultTable table) {
    beginResetModel();
    table_ = std::move(table);
    judge_rows(table_, choices_);
    endResetModel();
}

void ResultsTableModel::set_choices(const Choices& choices) {
    choices_ = choices;
    judge_rows(table_, choices_);
    if (columnCount() > 0) {
        // The adjusted columns are headed by the adjustment they show.
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }
    if (!table_.rows.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::DisplayRole, Qt::ToolTipRole, Qt::DecorationRole, Qt::BackgroundRole,
                          Qt::FontRole, sort_role});
    }
}

int ResultsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int ResultsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
}

QVariant ResultsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const ResultRow& row = table_.rows[static_cast<std::size_t>(index.row())];
    const auto column = static_cast<std::size_t>(index.column());
    if (column >= row.cells.size()) {
        return {};
    }
    const ResultCell& cell = row.cells[column];
    switch (role) {
        case Qt::DisplayRole:
            return cell.text;
        case sort_role:
            return cell.sort;
        case Qt::ToolTipRole:
            if (!row.flag.isEmpty()) {
                return row.flag_reason;
            }
            return cell.tip.isEmpty() ? QVariant() : QVariant(cell.tip);
        case Qt::TextAlignmentRole:
            return table_.columns[column].number ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                 : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
        case Qt::BackgroundRole:
            return row.verdict.significant ? QVariant(significant_shade) : QVariant();
        case Qt::FontRole:
            if (row.verdict.significant) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        case Qt::DecorationRole:
            if (column == 0 && !row.flag.isEmpty()) {
                return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
            }
            return {};
        default:
            return {};
    }
}

QVariant ResultsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    const ResultColumn& column = table_.columns[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) {
        return column.heading;
    }
    if (role == Qt::ToolTipRole) {
        return column.tip;
    }
    return {};
}

}  // namespace vesk
