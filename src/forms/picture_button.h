#pragma once

#include <QToolButton>

namespace vesk {

// A fixed 32 x 32 picture used as a button, such as the chevrons that move a list entry.
class PictureButton : public QToolButton {
    Q_OBJECT
  public:
    enum class Picture { chevron_up, chevron_down };
    PictureButton(Picture picture, const QString& object_name, QWidget* parent = nullptr);
};

}  // namespace vesk
