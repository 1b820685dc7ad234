#pragma once
// The progress window of long tasks (imports, builds). The window makes it
// once and keeps it hidden; a task sets the text and the bar's position,
// shows it and hides it again. The task keeps the event loop busy, so the
// text and the bar paint themselves the moment they change.
#include <QDialog>
#include <QLabel>
#include <QString>

class QProgressBar;

namespace qm {

// The status text: painted at once when set.
class TProgressLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    // Hides QLabel::setText, so callers holding this type get the repaint.
    void setText(const QString& text);
};

class TfrmMessage : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMessage(QWidget* owner);

    TProgressLabel* lblMsg;
    QProgressBar* pgbProgress;  // 0 to 100 unless the task sets its own range

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace qm
