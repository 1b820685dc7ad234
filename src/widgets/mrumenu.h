#pragma once
// Shows a recent-files list in a menu: one item per slot at the top of the
// menu, captioned and enabled by the list. Choosing one reports its slot.
//
// The list is any type with the recent-files interface of both programs:
//   std::string GetItem(int slot) const;   // 1-based, empty when free
//   void AttachMenu(std::function<void(int k, const std::string& caption, bool enabled)>);
// Its names and captions are Windows-1252 bytes.
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>
#include <functional>
#include <string>

namespace qm {

class TMruMenu : public QObject {
    Q_OBJECT
public:
    // Sets item k (0-based): its caption and whether it is enabled.
    using ItemSetter = std::function<void(int k, const std::string& caption, bool enabled)>;
    // The file of slot `slot` (1-based); empty for a free slot.
    using SlotReader = std::function<std::string(int slot)>;

    // Puts `count` items at the top of `menu`; `fileOf` names the file of a
    // chosen slot. The list fills the items through Setter().
    TMruMenu(QMenu* menu, int count, SlotReader fileOf, QObject* parent = nullptr);

    // Attaches the menu to `list` (see above) with ten items. The list must
    // not outlive the window that owns both.
    template <class List>
    TMruMenu(List& list, QMenu* menu, QObject* parent = nullptr)
        : TMruMenu(
              menu, kItems, [&list](int slot) { return list.GetItem(slot); }, parent) {
        list.AttachMenu(Setter());
    }

    QAction* Item(int k) const { return k >= 0 && k < items_.size() ? items_[k].data() : nullptr; }
    // Captions and enables the items; safe after the menu is gone.
    ItemSetter Setter() const;

signals:
    // Slot 1 to count of the list was chosen; `file` is its name.
    void projectChosen(int slot, const QString& file);

private:
    static constexpr int kItems = 10;
    SlotReader fileOf_;
    QVector<QPointer<QAction>> items_;
};

}  // namespace qm
