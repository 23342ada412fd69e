#pragma once

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

class QLineEdit;

namespace vesk {

class VariableGrid;

// The cell editor of the variable grid. Enter and Esc go to the grid's own handling; a cell is
// written through the grid, which refuses what the table cannot hold and corrects the rest.
class VariableCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    VariableCellDelegate(VariableGrid& grid, QObject* parent);

    // The open editor's cell, or an invalid index when no cell is being edited.
    QModelIndex edited_cell() const;
    QString edited_text() const;
    // Closes the editor and keeps the cell as it was.
    void discard();
    // Writes the editor's text into the cell and closes the editor.
    void commit();

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    VariableGrid& grid_;
    mutable QPointer<QLineEdit> editor_;
    mutable QPersistentModelIndex cell_;
};

}  // namespace vesk
