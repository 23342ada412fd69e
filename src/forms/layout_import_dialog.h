#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

#include "layout/layout_source.h"

class QComboBox;
class QListWidget;

namespace vesk {

// After "Import layout...": the variables of the file, each ticked, to untick those not needed;
// with a record type chosen, only that type's variables are listed.
class LayoutImportDialog : public QDialog {
    Q_OBJECT
  public:
    LayoutImportDialog(LayoutSource source, const QString& file_name, QWidget* parent);

    const LayoutSource& source() const { return source_; }
    // The names ticked, as the file writes them.
    std::vector<std::string> ticked() const;
    // The record type chosen; nothing for all of them.
    std::optional<std::string> record_type() const;

  private:
    void fill_list();
    void tick_all(bool ticked);

    LayoutSource source_;
    QComboBox* record_types_ = nullptr;
    QListWidget* list_ = nullptr;
};

}  // namespace vesk
