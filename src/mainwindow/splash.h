#pragma once
// The splash screen of start-up: a borderless white window with the version
// and a status line, kept up for at least 1.5 s by a thread that only sleeps.
#include <QStringList>
#include <QWidget>
#include <thread>

class QLabel;

namespace qm {

class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* owner = nullptr);

    QLabel* lblStatus = nullptr;
    QLabel* lblVersion = nullptr;

protected:
    void paintEvent(QPaintEvent* e) override;
};

// Shows the splash form while a thread sleeps three times 500 ms; the main
// thread sets the status texts and waits for the thread before it goes on.
// `waitScale` scales the sleeps (0 in tests, so nothing waits).
class TSplashThread {
public:
    TSplashThread(QWidget* owner, double waitScale);
    ~TSplashThread();  // waits for the thread, then closes and frees the form
    TSplashThread(const TSplashThread&) = delete;
    TSplashThread& operator=(const TSplashThread&) = delete;

    void SetStatus(const QString& text);
    // Takes the form off the screen at once (the thread still ends in its time).
    void Hide();
    // Blocks until the thread has ended.
    void Wait();

    TfrmSplash* Form() const { return form_; }
    // Every status text shown, in order.
    const QStringList& History() const { return history_; }

private:
    TfrmSplash* form_;
    std::thread thread_;
    QStringList history_;
};

}  // namespace qm
