#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

#include "platform/user_interface.h"

namespace vesk::testing {

// Records what the program says instead of showing boxes: "beep", "message: TEXT",
// "question: TEXT", "open file", "save file: SUGGESTED". Questions take the queued answers (Yes
// when none is queued); the file dialogs return the queued names (cancelled when none is queued).
class RecordingUserInterface : public UserInterface {
  public:
    void beep() override { events.append(QStringLiteral("beep")); }
    void message(const QString& text) override {
        events.append(QStringLiteral("message: ") + text);
    }
    bool ask_yes_no(const QString& text) override {
        events.append(QStringLiteral("question: ") + text);
        if (on_question) {
            on_question();
        }
        if (answers.empty()) {
            return true;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    QString open_file_name(QWidget*, const QString& filter, const QString& folder) override {
        events.append(QStringLiteral("open file"));
        last_folder = folder;
        return next_file_name(filter);
    }
    QString save_file_name(QWidget*, const QString& suggested, const QString& filter) override {
        events.append(QStringLiteral("save file: ") + suggested);
        return next_file_name(filter);
    }

    // The texts of the message boxes only, in order.
    QStringList messages() const {
        const QRegularExpression message(QStringLiteral("^message: "));
        return events.filter(message).replaceInStrings(message, QString());
    }
    void clear() { events.clear(); }

    QStringList events;
    std::deque<bool> answers;
    std::deque<QString> file_names;
    // Runs as a question is asked, before it is answered: to look at the windows as they stand.
    std::function<void()> on_question;
    QString last_filter;
    QString last_folder;

  private:
    QString next_file_name(const QString& filter) {
        last_filter = filter;
        if (file_names.empty()) {
            return {};
        }
        const QString name = file_names.front();
        file_names.pop_front();
        return name;
    }
};

}  // namespace vesk::testing
