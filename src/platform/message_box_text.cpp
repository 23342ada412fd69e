#include "platform/message_box_text.h"

#include <QStringList>

#include <algorithm>

namespace vesk {

namespace {

// Where the first word holding a "/" starts; -1 when there is none.
qsizetype path_start(const QString& line) {
    const qsizetype slash = line.indexOf(QLatin1Char('/'));
    if (slash < 0) {
        return -1;
    }
    return line.lastIndexOf(QLatin1Char(' '), slash) + 1;
}

// "/a/x.csv, /a/y.csv and /a/z.json" as one line a path, the words between them ending the
// line before: a new path starts where a "/" follows a blank.
QStringList each_path(const QString& paths) {
    QStringList lines;
    qsizetype from = 0;
    for (qsizetype i = 1; i < paths.size(); ++i) {
        if (paths[i] == QLatin1Char('/') && paths[i - 1] == QLatin1Char(' ')) {
            lines.append(paths.mid(from, i - 1 - from));
            from = i;
        }
    }
    lines.append(paths.mid(from));
    return lines;
}

// The pieces of a path too wide for one line: each as long as fits, ending after a "/" or
// before a blank. A piece with no such place within the width stays whole.
QStringList broken_path(const QString& path, const std::function<int(const QString&)>& width,
                        int widest) {
    QStringList pieces;
    QString rest = path;
    while (width(rest) > widest) {
        qsizetype cut = -1;
        for (qsizetype i = 1; i < rest.size(); ++i) {
            // Not after a leading "/" alone: the piece holds a name.
            const bool after_slash = i > 1 && rest[i - 1] == QLatin1Char('/');
            const bool at_blank = rest[i] == QLatin1Char(' ');
            if ((after_slash || at_blank) && width(rest.left(i)) <= widest) {
                cut = i;
            }
        }
        if (cut < 0) {
            break;
        }
        pieces.append(rest.left(cut));
        rest = rest.mid(cut);
        if (rest.startsWith(QLatin1Char(' '))) {
            rest.remove(0, 1);
        }
    }
    pieces.append(rest);
    return pieces;
}

}  // namespace

BoxText box_text(const QString& text, const std::function<int(const QString&)>& width, int widest) {
    QStringList shown;
    int path_width = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const qsizetype start = path_start(line);
        if (start < 0) {
            shown.append(line);
            continue;
        }
        const QString head = line.left(start).trimmed();
        if (!head.isEmpty()) {
            shown.append(head);
        }
        for (const QString& path : each_path(line.mid(start))) {
            for (const QString& piece : broken_path(path, width, widest)) {
                shown.append(piece);
                path_width = std::max(path_width, width(piece));
            }
        }
    }
    return {shown.join(QLatin1Char('\n')), std::min(path_width, widest)};
}

}  // namespace vesk
