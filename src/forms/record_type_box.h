#pragma once

#include <QWidget>

#include <optional>
#include <string>

class QComboBox;

namespace vesk {

struct RecordType;
struct RecordTypeField;

// "Record type" beside the filter: the variable whose field tells the record types of a
// hierarchical file apart, and the value of the type to load. Typed, or picked from the record
// types of an imported codebook.
class RecordTypeBox : public QWidget {
    Q_OBJECT
  public:
    explicit RecordTypeBox(QWidget* parent);

    // Nothing when both are blank. Throws vesk::Error when only one is filled.
    std::optional<RecordType> chosen() const;
    // Offers a codebook's record types to pick from: its variable, and its values. The value is
    // set to the type given (the one the import took), else left blank for the user to pick.
    void offer(const RecordTypeField& field, const std::optional<std::string>& value);

  signals:
    // The variable or the value was typed (and the typing finished) or picked.
    void changed();

  private:
    QComboBox* RecTypeVar_ = nullptr;
    QComboBox* RecTypeValue_ = nullptr;
};

}  // namespace vesk
