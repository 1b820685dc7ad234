#include "mainwindow/standins.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qtcp1252.h"

namespace qm {

TQorCommandBar::TQorCommandBar(const QString& name, int buttonSize, QWidget* parent)
    : QFrame(parent), size_(buttonSize), layout_(new QVBoxLayout(this)) {
    setObjectName(name);
    layout_->setContentsMargins(1, 1, 1, 1);
    layout_->setSpacing(1);
    layout_->addStretch(1);
}

QToolButton* TQorCommandBar::AddButton(int tag, const QString& hint, int glyph) {
    auto* b = new QToolButton(this);
    b->setObjectName(objectName() + QStringLiteral("Button") + QString::number(tag));
    b->setAutoRaise(true);
    b->setFixedSize(size_ + 4, size_ + 4);
    const QString shortHint = hint.section(QLatin1Char('|'), 0, 0);
    b->setToolTip(shortHint);
    b->setText(shortHint.left(1));
    b->setProperty("tag", tag);
    b->setProperty("glyph", glyph);
    connect(b, &QToolButton::clicked, this, [this, tag] { emit buttonClicked(tag); });
    layout_->insertWidget(layout_->count() - 1, b);
    buttons_ << b;
    return b;
}

void TQorCommandBar::AddSeparator() {
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    layout_->insertWidget(layout_->count() - 1, line);
}

QToolButton* TQorCommandBar::Button(int tag) const {
    for (QToolButton* b : buttons_)
        if (b->property("tag").toInt() == tag) return b;
    return nullptr;
}

}  // namespace qm
