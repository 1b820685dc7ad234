#include "dialogs/newrtfexpr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/qtcp1252.h"

namespace qm {

TfrmNewRtfExpr::TfrmNewRtfExpr(UiServices& ui, QWidget* parent)
    : TTagForm(ui, QStringLiteral("frmNewRtfExpr"), QStringLiteral("Rtf Tag Editor"), kRtfHelpContext, parent) {
    auto* group = new QGroupBox(QStringLiteral(" Rtf expression "), this);
    group->setObjectName(QStringLiteral("grpRtf"));
    txtRtf = new QPlainTextEdit(group);
    txtRtf->setObjectName(QStringLiteral("txtRtf"));
    txtRtf->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtRtf->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtRtf->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtRtf->setTabChangesFocus(true);
    txtRtf->setMinimumSize(360, 140);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(txtRtf);
    chkSingleLine = new QCheckBox(QStringLiteral("&Output on single line"), this);
    chkSingleLine->setObjectName(QStringLiteral("chkSingleLine"));
    grid_->addWidget(group, 0, 0, 1, 3);
    grid_->addWidget(chkSingleLine, 1, 0, 1, 3);
    ChainTabOrder({txtRtf, chkSingleLine, cmdOk, cmdCancel, cmdHelp});

    connect(txtRtf, &QPlainTextEdit::textChanged, this, &QmDialog::Activate);
}

void TfrmNewRtfExpr::Preset(const TTagPreset& preset) {
    QString text = FromCp1252(preset.Rtf);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    txtRtf->setPlainText(text);
    chkSingleLine->setChecked(preset.SingleLine);
}

bool TfrmNewRtfExpr::okRule() const { return !txtRtf->toPlainText().isEmpty(); }

std::string TfrmNewRtfExpr::GetTag() const {
    const std::string text = ToCp1252(txtRtf->toPlainText());
    if (chkSingleLine->isChecked()) {
        std::string joined;
        for (char c : text)
            if (c != '\n' && c != '\r') joined += c;
        return "<RTF \"" + joined + "\">";
    }
    // A line end after the last line ends that line; it starts no empty one.
    std::string_view rest = text;
    if (!rest.empty() && rest.back() == '\n') rest.remove_suffix(1);
    std::string tags;
    for (;;) {
        const std::size_t end = rest.find('\n');
        tags += "<RTF \"" + std::string(rest.substr(0, end)) + "\">";
        if (end == std::string_view::npos) break;
        tags += "\r\n";
        rest.remove_prefix(end + 1);
    }
    return tags;
}

}  // namespace qm
