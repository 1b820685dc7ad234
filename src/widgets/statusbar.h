#pragma once
// The main window's status bar `sbrStatus`: panel 0 for hints, progress texts
// and "Ready.", panel 1 for the caret position.
#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;

namespace qm {

inline constexpr const char* kStatusReady = "Ready.";

// "Line : %3d   Col: %3d".
QString CaretText(int line, int column);
// The long part of a hint "short|long": the text after the first "|", or the
// whole hint when it has none.
QString LongHint(const QString& hint);
// The short part: the text before the first "|", or the whole hint.
QString ShortHint(const QString& hint);

class StatusPanels : public QObject {
    Q_OBJECT
public:
    // Adds the two panels (QLabels "sbrStatusPanel0" and "sbrStatusPanel1")
    // to `bar`; panel 0 starts as "Ready.". The status tips of the bar's
    // window (menu items, tool buttons) go to panel 0 instead of covering
    // the panels: an empty tip shows "Ready.".
    explicit StatusPanels(QStatusBar* bar);

    QLabel* Panel(int index) const;  // 0 or 1; nullptr otherwise
    QString Text(int index) const;

    // Panel 0 := `text`, repainted at once (long commands block the loop).
    void SetStatus(const QString& text);
    void SetReady() { SetStatus(QString::fromLatin1(kStatusReady)); }
    // Panel 0 := LongHint(hint), or "Ready." when that is empty.
    void ShowHint(const QString& hint);
    // Panel 1 := CaretText(line, column) (both 1-based).
    void SetCaret(int line, int column);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* panels_[2];
};

}  // namespace qm
