#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

#include <cmath>

#include "report_print/page_breaks.h"

namespace vesk {
namespace {

constexpr qreal page_height = 400;

// The pages an item of the document's top level spans: the paragraph that reads text, or the
// table that follows it.
struct Span {
    int first = -1;
    int last = -1;
};

int page_of(qreal y) {
    return static_cast<int>(std::floor(y / page_height));
}

Span span_of(QTextDocument& doc, const QString& text, bool table_after) {
    bool found = false;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        QRectF rect;
        if (it.currentFrame() != nullptr) {
            if (!found || !table_after) {
                continue;
            }
            rect = doc.documentLayout()->frameBoundingRect(it.currentFrame());
        } else {
            if (it.currentBlock().text() == text) {
                found = true;
            }
            if (!found || table_after || it.currentBlock().text() != text) {
                continue;
            }
            rect = doc.documentLayout()->blockBoundingRect(it.currentBlock());
        }
        return {page_of(rect.top()), page_of(rect.bottom() - 1)};
    }
    ADD_FAILURE() << "not found: " << text.toStdString();
    return {};
}

QString table(int rows) {
    QString html =
        QStringLiteral("<table border=\"1\"><thead><tr><th>a</th><th>b</th></tr></thead>");
    for (int i = 0; i < rows; ++i) {
        html += QStringLiteral("<tr><td>%1</td><td>x</td></tr>").arg(i);
    }
    return html + QStringLiteral("</table>");
}

// The page the filler ends on; 0 without filler.
int filler_end(QTextDocument& doc, int filler) {
    return filler > 0 ? span_of(doc, QStringLiteral("filler %1").arg(filler - 1), false).last : 0;
}

// Filler paragraphs, then a heading with what belongs to it, laid out on pages of 400 units.
void lay_out(QTextDocument& doc, int filler, const QString& section) {
    QString html;
    for (int i = 0; i < filler; ++i) {
        html += QStringLiteral("<p>filler %1</p>").arg(i);
    }
    doc.setHtml(html + section + QStringLiteral("<p>after</p>"));
    doc.setPageSize({300, page_height});
    keep_together(doc);
}

TEST(PageBreaks, AHeadingStartsThePageOfItsTableWhereverTheFillerEndsAPage) {
    // A heading, a summary line and a table of eight rows fit one page; at some filler length
    // each of them would end a page with the rest on the next.
    const QString section = QStringLiteral("<h2>The answer</h2><p>summary</p>") + table(8);
    for (int filler = 0; filler < 30; ++filler) {
        QTextDocument doc;
        lay_out(doc, filler, section);
        const Span heading = span_of(doc, QStringLiteral("The answer"), false);
        const Span summary = span_of(doc, QStringLiteral("summary"), false);
        const Span rows = span_of(doc, QStringLiteral("summary"), true);
        EXPECT_EQ(heading.first, summary.last) << filler;
        EXPECT_EQ(heading.first, rows.first) << filler;
        EXPECT_EQ(rows.first, rows.last) << filler;
        // Nothing moves further than it must: at most to the page after the filler's end.
        EXPECT_LE(heading.first, filler_end(doc, filler) + 1) << filler;
    }
}

TEST(PageBreaks, ATableLongerThanAPageKeepsItsHeadingWithItsFirstRows) {
    for (int filler = 0; filler < 30; ++filler) {
        QTextDocument doc;
        lay_out(doc, filler, QStringLiteral("<h3>Record layout</h3>") + table(40));
        const Span heading = span_of(doc, QStringLiteral("Record layout"), false);
        const Span rows = span_of(doc, QStringLiteral("Record layout"), true);
        EXPECT_EQ(heading.first, rows.first) << filler;
        EXPECT_GT(rows.last, rows.first) << filler;  // split, as it must be
    }
}

TEST(PageBreaks, APlainParagraphEndsWhatAHeadingKeepsAndFlowsOn) {
    // A heading over long text: the heading keeps its first paragraph, the rest flows.
    QString text;
    for (int i = 0; i < 12; ++i) {
        text += QStringLiteral("<p>paragraph %1 of how to read it</p>").arg(i);
    }
    int moved = 0;
    for (int filler = 0; filler < 30; ++filler) {
        QTextDocument doc;
        lay_out(doc, filler, QStringLiteral("<h2>How to read it</h2>") + text);
        const Span heading = span_of(doc, QStringLiteral("How to read it"), false);
        EXPECT_EQ(heading.first,
                  span_of(doc, QStringLiteral("paragraph 0 of how to read it"), false).last)
            << filler;
        // The text flows on: it did not move to a page of its own.
        EXPECT_EQ(heading.first,
                  span_of(doc, QStringLiteral("paragraph 0 of how to read it"), false).first)
            << filler;
        EXPECT_LE(heading.first, filler_end(doc, filler) + 1) << filler;
        if (filler > 0 && filler_end(doc, filler) < heading.first) {
            ++moved;
        }
    }
    // The heading moves only where it and its first paragraph no longer fit below the filler:
    // a line or two of filler lengths, not every length whose text runs over the page.
    EXPECT_GE(moved, 1);
    EXPECT_LE(moved, 3);
}

}  // namespace
}  // namespace vesk
