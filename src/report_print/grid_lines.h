#pragma once

class QTextDocument;

namespace vesk {

// Draws each line of the document's tables once. The report's tables carry border="1" (a page
// read without its style sheet keeps its grid) as well as the style sheet's cell borders; Qt
// draws both, so the outer edge of every table came out as two lines side by side.
void single_grid_lines(QTextDocument& doc);

}  // namespace vesk
