#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest/QTest>

#include <vector>

namespace vesk::testing {

// The user's side of a window: its controls found by object name, then clicked, picked from and
// typed into as the user would.
class WidgetDriver {
  public:
    template <typename W>
    W* control(const char* name) const {
        W* found = root ? root->findChild<W*>(QString::fromLatin1(name)) : nullptr;
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(const char* name) const {
        QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
    }
    // Picks the combo box item with this text, as a click on it does.
    void pick(const char* combo, const QString& text) const {
        auto* box = control<QComboBox>(combo);
        const int index = box->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    // Replaces the text of a line box, then presses the key in it.
    void type_and_press(const char* box, const QString& text, Qt::Key key) const {
        control<QLineEdit>(box)->setText(text);
        QTest::keyClick(control<QLineEdit>(box), key);
    }
    bool shown(const char* name) const { return control<QWidget>(name)->isVisibleTo(root); }

    QWidget* root = nullptr;
};

// What an alert looks like to the user: three beeps, then the message.
inline QStringList alert(const QString& text) {
    return {"beep", "beep", "beep", "message: " + text};
}

// The texts of a list's lines.
inline QStringList lines_of(const QListWidget* list) {
    QStringList texts;
    for (int row = 0; row < list->count(); ++row) {
        texts.append(list->item(row)->text());
    }
    return texts;
}

// Selects exactly these rows of a list.
inline void select_rows(QListWidget* list, const std::vector<int>& rows) {
    list->clearSelection();
    for (int row : rows) {
        list->item(row)->setSelected(true);
    }
}

// The rows selected in a list.
inline std::vector<int> selected_rows(const QListWidget* list) {
    std::vector<int> rows;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->isSelected()) {
            rows.push_back(row);
        }
    }
    return rows;
}

// Whether the window can shrink to a laptop screen of 1024 x 600.
inline bool fits_laptop_screen(const QWidget* window) {
    const QSize laptop(1024, 600);
    return laptop.expandedTo(window->minimumSizeHint().expandedTo(window->minimumSize())) == laptop;
}

// Lets the windows closed with WA_DeleteOnClose go.
inline void flush_deletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The visible top-level window of this type, or nullptr.
template <typename W>
W* shown_window() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* found = qobject_cast<W*>(widget); found && found->isVisible()) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace vesk::testing
