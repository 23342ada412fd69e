#pragma once

#include <QString>

#include <functional>

namespace vesk {

// A message as its box shows it. A box wraps long lines wherever the text allows a break,
// hyphens inside a file name included. So a path (from the first word holding a "/" to the end
// of its line, or to the next blank followed by a "/", where the next path starts) starts a line
// of its own and the box is made wide enough for it; a path wider than the widest box is broken
// after a "/", or at a blank, only.
struct BoxText {
    QString text;
    int min_width = 0;  // of the text, for its widest path; at most the widest allowed
};

// width measures a text as the box draws it; widest is the most the box's text may take.
BoxText box_text(const QString& text, const std::function<int(const QString&)>& width, int widest);

}  // namespace vesk
