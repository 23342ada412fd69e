#pragma once

#include <gtest/gtest.h>

#include <QPointer>
#include <QWidget>

#include <memory>

#include "forms/vesk_window.h"
#include "support/recording_user_interface.h"
#include "support/temp_dir.h"
#include "support/widget_driver.h"

namespace vesk::testing {

// The main window over a temporary database, built by open_main() once the test has prepared
// the database.
class MainWindowHarness : public ::testing::Test, protected WidgetDriver {
  protected:
    void open_main() {
        window = std::make_unique<VeskWindow>(t.state, ui);
        root = window.get();
    }

    TempState t;
    RecordingUserInterface ui;
    std::unique_ptr<VeskWindow> window;
};

// A secondary window opened over a shown stand-in for the main window. The window goes before
// the database it works on.
template <typename Window>
class SecondaryWindowHarness : public ::testing::Test, protected WidgetDriver {
  protected:
    SecondaryWindowHarness() { main_window.show(); }
    ~SecondaryWindowHarness() override { delete window.data(); }

    void open(Window* opened) {
        window = opened;
        root = opened;
        opened->open();
    }
    void open_window() { open(new Window(t.state, ui, &main_window)); }

    TempState t;
    RecordingUserInterface ui;
    QWidget main_window;
    QPointer<Window> window;
};

}  // namespace vesk::testing
