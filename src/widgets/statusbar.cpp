#include "widgets/statusbar.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace qm {

QString CaretText(int line, int column) { return QString::asprintf("Line : %3d   Col: %3d", line, column); }

QString LongHint(const QString& hint) {
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString ShortHint(const QString& hint) {
    const int bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.left(bar);
}

StatusPanels::StatusPanels(QStatusBar* bar) : QObject(bar) {
    panels_[0] = new QLabel(QString::fromLatin1(kStatusReady), bar);
    panels_[0]->setObjectName(QStringLiteral("sbrStatusPanel0"));
    panels_[1] = new QLabel(bar);
    panels_[1]->setObjectName(QStringLiteral("sbrStatusPanel1"));
    panels_[1]->setMinimumWidth(panels_[1]->fontMetrics().horizontalAdvance(CaretText(9999, 9999)) + 8);
    bar->addWidget(panels_[0], 1);
    bar->addPermanentWidget(panels_[1]);
    if (QWidget* window = bar->window(); window && window != bar) window->installEventFilter(this);
}

bool StatusPanels::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        SetStatus(tip.isEmpty() ? QString::fromLatin1(kStatusReady) : tip);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

QLabel* StatusPanels::Panel(int index) const { return index == 0 || index == 1 ? panels_[index] : nullptr; }

QString StatusPanels::Text(int index) const {
    const QLabel* p = Panel(index);
    return p ? p->text() : QString();
}

void StatusPanels::SetStatus(const QString& text) {
    panels_[0]->setText(text);
    panels_[0]->repaint();
}

void StatusPanels::ShowHint(const QString& hint) {
    const QString text = LongHint(hint);
    SetStatus(text.isEmpty() ? QString::fromLatin1(kStatusReady) : text);
}

void StatusPanels::SetCaret(int line, int column) { panels_[1]->setText(CaretText(line, column)); }

}  // namespace qm
