#pragma once
// The window's commands as QActions, built from one table, and the one
// updateActions() that applies their enabling rules. Updates are requested by
// signals (editor, lists, focus, menus) and coalesced into a single run on a
// zero timer; nothing polls.
#include <functional>
#include <vector>

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class QAction;
class QMenu;
class QWidget;

namespace qm {

class StatusPanels;
class UiServices;

// One row of the table.
struct ActionSpec {
    const char* objectName;      // e.g. "actCompile"
    const char* caption;         // e.g. "Build..." (an "&" marks the mnemonic)
    const char* shortcut;        // QKeySequence text, e.g. "F5", "Ctrl+S"; "" for none
    const char* hint;            // "short|long": tool tip | status tip
    const char* icon;            // a name of the icon set (widgets/icons.h), e.g. "edit-undo"; "" for none
    std::function<void()> slot;  // run through runCommand when triggered
    bool checkable = false;
};

class ActionTable : public QObject {
    Q_OBJECT
public:
    // Actions are owned by `owner` and added to it (so shortcuts work). When
    // `status` is given, hovering an action shows its hint there.
    ActionTable(QWidget* owner, UiServices& ui, StatusPanels* status = nullptr);

    QAction* Add(const ActionSpec& spec);
    void Add(const std::vector<ActionSpec>& specs);

    // The action with this objectName; nullptr when none. For tests: code
    // keeps the QAction* that Add returned.
    QAction* Find(const QString& objectName) const;
    // As Find, but throws qm::Error naming the action when it is missing.
    QAction* Get(const QString& objectName) const;
    const QList<QAction*>& Actions() const { return actions_; }

    // The function that applies the enabling rules (the window's updateActions).
    void SetUpdater(std::function<void()> updater) { updater_ = std::move(updater); }
    // Runs the updater soon, once, however many requests arrive before it runs.
    void RequestUpdate();
    // Runs it now (and drops a pending request). Menus call this on aboutToShow.
    void UpdateNow();
    bool UpdatePending() const { return timer_.isActive(); }
    int UpdateCount() const { return updates_; }  // runs so far

    // Connects `menu`'s aboutToShow to UpdateNow.
    void WatchMenu(QMenu* menu);
    // Connects any signal of `sender` to RequestUpdate, e.g.
    // table.RequestOn(editor, &QTextEdit::selectionChanged).
    template <class Sender, class Signal>
    void RequestOn(Sender* sender, Signal signal) {
        connect(sender, signal, this, &ActionTable::RequestUpdate);
    }
    // Requests an update whenever the application's focus widget changes.
    void RequestOnFocusChange();

private:
    QWidget* owner_;
    UiServices& ui_;
    StatusPanels* status_;
    QList<QAction*> actions_;
    std::function<void()> updater_;
    QTimer timer_;
    int updates_ = 0;
};

}  // namespace qm
