// vesk: the desktop program. Opens the database (the default one, or the one --db or VESK_DB
// names), then shows the main window; the program ends when its last window closes.

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "core/app_state.h"
#include "core/default_database.h"
#include "core/error.h"
#include "core/temporary_file_registry.h"
#include "forms/vesk_window.h"
#include "platform/qt_user_interface.h"
#include "report_print/numbers_with_a_point.h"

namespace {

constexpr const char* usage =
    "usage: vesk [--db FILE]\n"
    "       vesk --help | --version\n"
    "  --db FILE   use the database FILE (created when missing) instead of the default one\n"
    "The default database is $VESK_DB, else $XDG_DATA_HOME/vesk/vesk.db, else\n"
    "~/.local/share/vesk/vesk.db. For runs without a window use vesk-batch.\n";

struct Options {
    std::string db;
    bool help = false;
    bool version = false;
};

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--db" && i + 1 < argc) {
            options.db = argv[++i];
        } else if (arg.rfind("--db=", 0) == 0) {
            options.db = arg.substr(5);
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--version") {
            options.version = true;
        } else {
            std::fprintf(stderr, "vesk: unknown argument %s\n%s", arg.c_str(), usage);
            return std::nullopt;
        }
        if ((arg == "--db" || arg.starts_with("--db=")) && options.db.empty()) {
            std::fputs("vesk: --db needs a file name, not an empty text\n", stderr);
            return std::nullopt;
        }
    }
    return options;
}

bool has_display() {
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char* value = std::getenv(name);
        if (value && *value) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    vesk::remove_temporary_files_on_signals();
    const auto options = parse(argc, argv);
    if (!options) {
        return 2;
    }
    if (options->help) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (options->version) {
        std::printf("vesk %s\n", VESK_VERSION);
        return 0;
    }
    if (!has_display()) {
        std::fputs(
            "vesk: no display to show the window on (DISPLAY is not set).\n"
            "Start vesk from a desktop session, or run the tests without a window with "
            "vesk-batch.\n",
            stderr);
        return 1;
    }

    QApplication app(argc, argv);
    vesk::write_numbers_with_a_point();
    QApplication::setApplicationName(QStringLiteral("vesk"));
    QApplication::setApplicationDisplayName(vesk::product_title());
    // Ties the window to the installed desktop entry (its icon and name in the task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral(VESK_APP_ID));

    std::optional<vesk::AppState> state;
    try {
        const std::string path = options->db.empty() ? vesk::default_database_path() : options->db;
        state.emplace(vesk::Database::open(path));
    } catch (const vesk::Error& e) {
        std::fprintf(stderr, "vesk: %s\n", e.what());
        QMessageBox::critical(nullptr, vesk::product_title(), QString::fromStdString(e.what()));
        return 1;
    }

    vesk::QtUserInterface ui;
    vesk::VeskWindow window(*state, ui);
    window.show();
    return QApplication::exec();
}
