#pragma once
// The Select Hotspot dialog: the IDs of the active picture's hotspots in
// list order. Typing selects the first ID, from the top, that begins with the
// typed text (ASCII case ignored); clicking an item keeps that very item
// selected, even below an earlier ID that the text also begins.
#include <string>

#include "util/qorstring.h"
#include "widgets/qmdialog.h"

class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace qm::shgedit {

inline constexpr int kSelectHelpContext = 90;

class TfrmSelect : public QmDialog {
    Q_OBJECT
public:
    explicit TfrmSelect(UiServices& ui, QWidget* parent = nullptr);

    // Fills the list, selects its first item and copies it into the edit,
    // all of it selected, as the dialog opens.
    void SetItems(const StringList& ids);
    // The selected item's index; -1 when none is selected.
    int SelectedIndex() const;

    // The typing rule: the first item that begins with the trimmed text.
    void txtHotspotChange();
    // A chosen item: its text goes into the edit, the item stays selected.
    void lstHotspotsClick(QListWidgetItem* item);

    QLineEdit* txtHotspot;
    QListWidget* lstHotspots;
    QPushButton* cmdSelect;

protected:
    int helpContext() const override { return kSelectHelpContext; }
    // The edit has the focus and all its text selected as the dialog opens.
    void showEvent(QShowEvent* event) override;

private:
    StringList ids_;
    bool copying_ = false;  // the edit is being set from the list
};

}  // namespace qm::shgedit
