#include "forms/record_type_box.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "core/app_state.h"
#include "core/error.h"
#include "forms/named_widget.h"
#include "layout/layout_source.h"

namespace vesk {

namespace {

QComboBox* typed_or_picked(const QString& name, const QString& placeholder, QWidget* parent) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    box->lineEdit()->setPlaceholderText(placeholder);
    return box;
}

void set_items(QComboBox* box, const QStringList& items, const QString& text) {
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(items);
    box->setEditText(text);
}

}  // namespace

RecordTypeBox::RecordTypeBox(QWidget* parent) : QWidget(parent) {
    auto* label =
        named(new QLabel(QStringLiteral("Record type:"), this), QStringLiteral("Lbrectype"));
    RecTypeVar_ = typed_or_picked(QStringLiteral("RecTypeVar"), QStringLiteral("variable"), this);
    RecTypeValue_ = typed_or_picked(QStringLiteral("RecTypeValue"), QStringLiteral("value"), this);
    const QString tip = QStringLiteral(
        "In a file of several record types (household and person lines), only the lines whose "
        "field of this variable reads this value are loaded; the others are counted apart. "
        "Blank: every line. An imported codebook that declares record types offers them here.");
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(label);
    for (QComboBox* box : {RecTypeVar_, RecTypeValue_}) {
        box->setToolTip(tip);
        connect(box->lineEdit(), &QLineEdit::editingFinished, this, &RecordTypeBox::changed);
        connect(box, &QComboBox::activated, this, &RecordTypeBox::changed);
        row->addWidget(box);
        if (box == RecTypeVar_) {
            row->addWidget(new QLabel(QStringLiteral("="), this));
        }
    }
}

std::optional<RecordType> RecordTypeBox::chosen() const {
    const QString variable = RecTypeVar_->currentText().trimmed();
    const QString value = RecTypeValue_->currentText().trimmed();
    if (variable.isEmpty() && value.isEmpty()) {
        return std::nullopt;
    }
    if (variable.isEmpty() || value.isEmpty()) {
        throw Error(
            "Record type: give the variable and the value its field reads in the lines "
            "to load, or leave both blank.");
    }
    return RecordType{variable.toStdString(), value.toStdString()};
}

void RecordTypeBox::offer(const RecordTypeField& field, const std::optional<std::string>& value) {
    const QString variable = QString::fromStdString(field.variable);
    set_items(RecTypeVar_, {variable}, variable);
    QStringList values;
    for (const std::string& type : field.values) {
        values.append(QString::fromStdString(type));
    }
    set_items(RecTypeValue_, values, QString::fromStdString(value.value_or("")));
}

}  // namespace vesk
