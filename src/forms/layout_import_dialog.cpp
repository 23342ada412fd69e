#include "forms/layout_import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/named_widget.h"
#include "layout/layout_import.h"
#include "platform/user_interface.h"

namespace vesk {

namespace {

QString variable_line(const SourceVariable& variable) {
    QString line =
        QStringLiteral("%1   %2, %3 long, %4")
            .arg(QString::fromStdString(variable.name), QString::fromStdString(variable.start),
                 QString::fromStdString(variable.length), QString::fromStdString(variable.type));
    if (!variable.decimals.empty() && variable.decimals != "0") {
        line += QStringLiteral(", %1 decimals").arg(QString::fromStdString(variable.decimals));
    }
    if (!variable.record_types.empty()) {
        QStringList types;
        for (const std::string& type : variable.record_types) {
            types.append(QString::fromStdString(type));
        }
        line += QStringLiteral("   (record type %1)").arg(types.join(QStringLiteral(", ")));
    }
    return line;
}

}  // namespace

LayoutImportDialog::LayoutImportDialog(LayoutSource source, const QString& file_name,
                                       QWidget* parent)
    : QDialog(parent), source_(std::move(source)) {
    setObjectName(QStringLiteral("layoutImport"));
    setWindowTitle(product_title() + QStringLiteral(" - Import layout"));
    auto* caption = named(new QLabel(QStringLiteral("%1 (%2): tick the variables to take.")
                                         .arg(file_name, QString::fromStdString(source_.format)),
                                     this),
                          QStringLiteral("importCaption"));
    caption->setWordWrap(true);
    list_ = named(new QListWidget(this), QStringLiteral("importVars"));
    auto* all =
        named(new QPushButton(QStringLiteral("Tick &all"), this), QStringLiteral("importAll"));
    auto* none =
        named(new QPushButton(QStringLiteral("Tick &none"), this), QStringLiteral("importNone"));
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(
        named(new QPushButton(QStringLiteral("&Take"), this), QStringLiteral("importTake")),
        QDialogButtonBox::AcceptRole);
    buttons->addButton(
        named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("importCancel")),
        QDialogButtonBox::RejectRole);

    auto* page = new QVBoxLayout(this);
    page->addWidget(caption);
    if (source_.record_type && !source_.record_type->values.empty()) {
        record_types_ = named(new QComboBox(this), QStringLiteral("importRecordType"));
        record_types_->addItem(QStringLiteral("every record type"));
        for (const std::string& value : source_.record_type->values) {
            record_types_->addItem(
                QString::fromStdString(source_.record_type->variable + " = " + value),
                QString::fromStdString(value));
        }
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Record type:"), this));
        row->addWidget(record_types_, 1);
        page->addLayout(row);
        connect(record_types_, &QComboBox::currentIndexChanged, this,
                &LayoutImportDialog::fill_list);
    }
    page->addWidget(list_, 1);
    auto* ticks = new QHBoxLayout;
    ticks->addWidget(all);
    ticks->addWidget(none);
    ticks->addStretch(1);
    page->addLayout(ticks);
    page->addWidget(buttons);

    connect(all, &QPushButton::clicked, this, [this] { tick_all(true); });
    connect(none, &QPushButton::clicked, this, [this] { tick_all(false); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    fill_list();
    resize(560, 480);
}

void LayoutImportDialog::fill_list() {
    list_->clear();
    for (const SourceVariable& variable : variables_of_type(source_, record_type())) {
        auto* item = new QListWidgetItem(variable_line(variable), list_);
        item->setData(Qt::UserRole, QString::fromStdString(variable.name));
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
}

void LayoutImportDialog::tick_all(bool ticked) {
    for (int row = 0; row < list_->count(); ++row) {
        list_->item(row)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

std::vector<std::string> LayoutImportDialog::ticked() const {
    std::vector<std::string> names;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->checkState() == Qt::Checked) {
            names.push_back(list_->item(row)->data(Qt::UserRole).toString().toStdString());
        }
    }
    return names;
}

std::optional<std::string> LayoutImportDialog::record_type() const {
    if (!record_types_ || record_types_->currentIndex() <= 0) {
        return std::nullopt;
    }
    return record_types_->currentData().toString().toStdString();
}

}  // namespace vesk
