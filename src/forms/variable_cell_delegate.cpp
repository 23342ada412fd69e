#include "forms/variable_cell_delegate.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "forms/variable_grid.h"

namespace vesk {

VariableCellDelegate::VariableCellDelegate(VariableGrid& grid, QObject* parent)
    : QStyledItemDelegate(parent), grid_(grid) {}

QModelIndex VariableCellDelegate::edited_cell() const {
    return editor_ ? QModelIndex(cell_) : QModelIndex();
}

QString VariableCellDelegate::edited_text() const {
    return editor_ ? editor_->text() : QString();
}

void VariableCellDelegate::discard() {
    if (QLineEdit* editor = editor_) {
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void VariableCellDelegate::commit() {
    if (QLineEdit* editor = editor_) {
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

QWidget* VariableCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                            const QModelIndex& index) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor_ = editor;
    cell_ = index;
    return editor;
}

void VariableCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (editor == editor_) {
        editor_ = nullptr;
        cell_ = QPersistentModelIndex();
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void VariableCellDelegate::setModelData(QWidget* editor, QAbstractItemModel*,
                                        const QModelIndex& index) const {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        grid_.write_cell(index, line->text());
    }
}

bool VariableCellDelegate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            grid_.enter_pressed();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            grid_.escape_in_editor();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(watched, event);
}

}  // namespace vesk
