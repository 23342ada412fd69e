#include "report_print/grid_lines.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace vesk {

void single_grid_lines(QTextDocument& doc) {
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto* table = qobject_cast<QTextTable*>(it.currentFrame())) {
            // The cells' own borders draw the outline too.
            QTextTableFormat format = table->format();
            format.setBorder(0);
            table->setFormat(format);
        }
    }
}

}  // namespace vesk
