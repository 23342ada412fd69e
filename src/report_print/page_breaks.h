#pragma once

class QTextDocument;

namespace vesk {

// Breaks pages of a paginated document so that nothing that belongs together is cut apart: a
// heading starts a page rather than end one without its content, and a heading keeps with what
// follows it up to the first plain paragraph (the answer's summary, chart and table of groups
// as far as they fit one page); a table or chart that fits one page is not split. Each starts
// on the first page where it fits. Call it once the document has its page size and content.
void keep_together(QTextDocument& doc);

}  // namespace vesk
