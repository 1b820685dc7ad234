#pragma once
// The About box of Pikeral.
#include <QImage>

#include "widgets/qmdialog.h"

namespace qm::shgedit {

class TfrmAbout : public QmDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(UiServices& ui, QWidget* parent = nullptr);

    // The logo: a small picture with two hotspot outlines.
    static QImage Logo();

    QPushButton* cmdOK;
};

}  // namespace qm::shgedit
