#include "forms/class_cells_view.h"

#include <QHeaderView>
#include <QLabel>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include <cmath>

#include "chitest/class_cells.h"
#include "forms/named_widget.h"

namespace vesk {

namespace {

// More central than state records in the class, and fewer.
const QColor central_over(244, 170, 150);
const QColor central_under(160, 196, 240);

const QString residual_tip = QStringLiteral(
    "Adjusted residual of the class: how far its central count lies from the count a common "
    "spread of both samples would give, in standard errors. Above 0 the class holds a larger "
    "share of the central sample than of the state sample. From 2 either way (coloured) the "
    "class drives the difference.");

QString share_text(double share) {
    return std::isfinite(share) ? QString::number(100 * share, 'f', 1) + QStringLiteral("%")
                                : QString();
}

QTableWidgetItem* item(const QString& text, bool number = true) {
    auto* cell = new QTableWidgetItem(text);
    cell->setTextAlignment(number ? Qt::AlignRight | Qt::AlignVCenter
                                  : Qt::AlignLeft | Qt::AlignVCenter);
    return cell;
}

}  // namespace

ClassCellsView::ClassCellsView(QWidget* parent) : QWidget(parent) {
    caption_ = named(new QLabel(this), QStringLiteral("classCellsCaption"));
    caption_->setTextFormat(Qt::PlainText);
    caption_->setWordWrap(true);
    table_ = named(new QTableWidget(this), QStringLiteral("classCells"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    const QStringList headings = {QStringLiteral("class"),       QStringLiteral("values"),
                                  QStringLiteral("n (central)"), QStringLiteral("central share"),
                                  QStringLiteral("m (state)"),   QStringLiteral("state share"),
                                  QStringLiteral("residual")};
    table_->setColumnCount(static_cast<int>(headings.size()));
    table_->setHorizontalHeaderLabels(headings);
    table_->horizontalHeaderItem(6)->setToolTip(residual_tip);
    table_->horizontalHeaderItem(3)->setToolTip(
        QStringLiteral("The class's share of the group's central records"));
    table_->horizontalHeaderItem(5)->setToolTip(
        QStringLiteral("The class's share of the group's state records"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption_);
    layout->addWidget(table_, 1);
    clear();
}

void ClassCellsView::clear() {
    table_->setRowCount(0);
    caption_->setText(QStringLiteral("Pick a group above to see where its samples differ."));
}

void ClassCellsView::show_group(const ChiGroupStats& group, const std::vector<ClassDef>& classes) {
    QStringList values;
    for (const std::string& value : group.groups) {
        values.append(QString::fromStdString(value));
    }
    QString caption = QStringLiteral("Classes of ") + values.join(QStringLiteral(" / "));
    if (std::isfinite(group.cramers_v)) {
        caption += QStringLiteral(": Cram\u00e9r's V %1 (%2)")
                       .arg(QString::number(group.cramers_v, 'f', 3),
                            QString::fromStdString(effect_size_words(group.cramers_v)));
    }
    caption_->setText(caption);

    table_->setRowCount(static_cast<int>(group.classes.size()));
    for (std::size_t k = 0; k < group.classes.size(); ++k) {
        const ChiClassCell& cell = group.classes[k];
        const int row = static_cast<int>(k);
        table_->setItem(row, 0, item(QString::number(k + 1)));
        table_->setItem(
            row, 1,
            item(k < classes.size() ? QString::fromStdString(classes[k].values) : QString(),
                 false));
        table_->setItem(row, 2, item(QString::number(cell.central)));
        table_->setItem(row, 3, item(share_text(cell.central_share)));
        table_->setItem(row, 4, item(QString::number(cell.state)));
        table_->setItem(row, 5, item(share_text(cell.state_share)));
        auto* residual =
            item(std::isfinite(cell.residual) ? QString::number(cell.residual, 'f', 2) : QString());
        residual->setToolTip(residual_tip);
        if (cell.marked) {
            residual->setBackground(cell.residual > 0 ? central_over : central_under);
            QFont bold = residual->font();
            bold.setBold(true);
            residual->setFont(bold);
        }
        table_->setItem(row, 6, residual);
    }
    table_->resizeColumnsToContents();
}

}  // namespace vesk
