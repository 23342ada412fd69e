#include "forms/navigation_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

namespace vesk {

namespace {
QToolButton* arrow(const QString& name, const QString& text, const QString& tip, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}
}  // namespace

NavigationBar::NavigationBar(QWidget* parent) : QWidget(parent), caption_(new QLabel(this)) {
    setObjectName(QStringLiteral("AdodcX"));
    auto* first =
        arrow(QStringLiteral("AdodcX_first"), QStringLiteral("|<"), tr("First record"), this);
    auto* previous =
        arrow(QStringLiteral("AdodcX_previous"), QStringLiteral("<"), tr("Previous record"), this);
    auto* next = arrow(QStringLiteral("AdodcX_next"), QStringLiteral(">"), tr("Next record"), this);
    auto* last =
        arrow(QStringLiteral("AdodcX_last"), QStringLiteral(">|"), tr("Last record"), this);
    caption_->setObjectName(QStringLiteral("AdodcX_caption"));
    caption_->setAlignment(Qt::AlignCenter);
    caption_->setMinimumWidth(100);
    caption_->setFrameShape(QFrame::StyledPanel);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(first);
    layout->addWidget(previous);
    layout->addWidget(caption_, 1);
    layout->addWidget(next);
    layout->addWidget(last);

    connect(first, &QToolButton::clicked, this, &NavigationBar::moveFirst);
    connect(previous, &QToolButton::clicked, this, &NavigationBar::movePrevious);
    connect(next, &QToolButton::clicked, this, &NavigationBar::moveNext);
    connect(last, &QToolButton::clicked, this, &NavigationBar::moveLast);
}

void NavigationBar::setCaption(const QString& caption) {
    caption_->setText(caption);
}

QString NavigationBar::caption() const {
    return caption_->text();
}

}  // namespace vesk
