#include "report_print/page_breaks.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <cmath>
#include <vector>

namespace vesk {

namespace {

// One item of the document's top level: a paragraph or a table.
struct Item {
    QTextBlock block;
    QTextFrame* frame = nullptr;

    bool heading() const { return frame == nullptr && block.blockFormat().headingLevel() > 0; }
    // A table, or a paragraph that holds an object (the chart): what is better moved than cut.
    bool solid() const {
        return frame != nullptr || block.text().contains(QChar::ObjectReplacementCharacter);
    }
};

std::vector<Item> top_level_items(QTextDocument& doc) {
    std::vector<Item> items;
    for (auto it = doc.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (it.currentFrame() != nullptr) {
            items.push_back({{}, it.currentFrame()});
        } else if (it.currentBlock().isValid()) {
            items.push_back({it.currentBlock(), nullptr});
        }
    }
    return items;
}

class Pages {
  public:
    explicit Pages(QTextDocument& doc) : doc_(doc), height_(doc.pageSize().height()) {
        const QTextFrameFormat root = doc.rootFrame()->frameFormat();
        usable_ = height_ - root.topMargin() - root.bottomMargin();
    }

    QRectF rect(const Item& item) const {
        QAbstractTextDocumentLayout* layout = doc_.documentLayout();
        return item.frame != nullptr ? layout->frameBoundingRect(item.frame)
                                     : layout->blockBoundingRect(item.block);
    }
    int page(qreal y) const { return static_cast<int>(std::floor(y / height_)); }
    bool fits(qreal top, qreal bottom) const { return bottom - top <= usable_; }
    bool crosses(qreal top, qreal bottom) const { return page(top) != page(bottom - 1); }
    // A line of text in the units of the layout's paint device.
    qreal line() const {
        return QFontMetricsF(doc_.defaultFont(), doc_.documentLayout()->paintDevice())
            .lineSpacing();
    }

    void break_before(const Item& item) {
        if (item.frame != nullptr) {
            QTextFrameFormat format = item.frame->frameFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            item.frame->setFrameFormat(format);
        } else {
            QTextBlockFormat format = item.block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(item.block).setBlockFormat(format);
        }
    }

  private:
    QTextDocument& doc_;
    qreal height_;
    qreal usable_ = 0;
};

}  // namespace

void keep_together(QTextDocument& doc) {
    if (doc.pageSize().height() <= 0) {
        return;
    }
    Pages pages(doc);
    // Items are taken top down: a break moves only what follows it.
    const std::vector<Item> items = top_level_items(doc);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Item& item = items[i];
        const qreal top = pages.rect(item).top();
        if (item.heading() && i + 1 < items.size()) {
            // The heading with the headings right under it, the first item after them and the
            // solid items after that; the longest run of them that fits a page stays together.
            std::size_t last = i + 1;
            while (last + 1 < items.size() && items[last].heading()) {
                ++last;
            }
            while (last + 1 < items.size() && items[last + 1].solid() &&
                   pages.fits(top, pages.rect(items[last + 1]).bottom())) {
                ++last;
            }
            const qreal bottom = pages.rect(items[last]).bottom();
            if (pages.fits(top, bottom)
                    ? pages.crosses(top, bottom)
                    // Too long for a page: a few lines of it at least.
                    : pages.crosses(top, pages.rect(item).bottom() + 3 * pages.line())) {
                pages.break_before(item);
            }
            i = last;  // the solid items after the heading are placed with it
        } else if (item.solid()) {
            const QRectF rect = pages.rect(item);
            if (pages.fits(rect.top(), rect.bottom()) && pages.crosses(rect.top(), rect.bottom())) {
                pages.break_before(item);
            }
        }
    }
}

}  // namespace vesk
