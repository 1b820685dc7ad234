#include "dialogs/newcomment.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTextDocument>

#include "platform/qtcp1252.h"

namespace qm {

TfrmNewComment::TfrmNewComment(UiServices& ui, QWidget* parent)
    : TCntEntryDialog(ui, QStringLiteral("frmNewComment"), QStringLiteral("Comment"), kNewCommentHelpContext, parent) {
    txtComment = new QPlainTextEdit(this);
    txtComment->setObjectName(QStringLiteral("txtComment"));
    txtComment->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtComment->setTabChangesFocus(true);
    txtComment->setMinimumSize(300, 90);
    grid_->addWidget(MakeGroup(QStringLiteral("grpComment"), QStringLiteral(" Comment text "), txtComment), 0, 0, 1, 2);
    connect(txtComment, &QPlainTextEdit::textChanged, this, &QmDialog::Activate);
    txtComment->setFocus();
}

QString TfrmNewComment::CommentText() const {
    // The raw text keeps non-breaking spaces; its paragraph breaks are the
    // lines that are joined.
    QString text = txtComment->document()->toRawText();
    for (const QChar br : {QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator), QChar(u'\n'), QChar(u'\r')})
        text.remove(br);
    return text;
}

void TfrmNewComment::LoadEntry(const TCntNode& entry) { txtComment->setPlainText(FromCp1252(entry.Title)); }

void TfrmNewComment::SaveEntry(TCntNode& entry) const { entry.Title = ToCp1252(CommentText()); }

bool TfrmNewComment::okRule() const { return !txtComment->document()->isEmpty(); }

bool TfrmNewComment::checkFields() {
    return CheckField(txtComment, QStringLiteral("Comment text"), TCntField::Text, CommentText());
}

}  // namespace qm
