#include "dialogs/cntdialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialogfactory.h"
#include "dialogs/newcomment.h"
#include "dialogs/newheader.h"
#include "dialogs/newinclude.h"
#include "dialogs/newmacro.h"
#include "dialogs/newtopic.h"
#include "platform/uiservices.h"
#include "widgets/commandguard.h"
#include "widgets/dialoghelpers.h"

namespace qm {

std::optional<QString> CntFieldRefusal(const QString& label, TCntField field, const QString& text) {
    const QList<uint> points = text.toUcs4();
    const std::u32string chars(points.begin(), points.end());
    const auto c = CntRefusedChar(field, chars);
    if (!c) return std::nullopt;
    const QString plainLabel = QString(label).remove(QLatin1Char('&')).trimmed();
    if (*c == U'\r' || *c == U'\n') return QString::fromLatin1(kMsgCntLineBreak).arg(plainLabel);
    const char32_t one[] = {*c};
    return QString::fromLatin1(kMsgCntRefusedChar).arg(plainLabel, QString::fromUcs4(one, 1));
}

TCntDialog::TCntDialog(UiServices& ui, const QString& formName, const QString& caption, int helpContext,
                       QWidget* parent)
    : QmDialog(ui, formName, parent), helpContext_(helpContext) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    grid_ = new QGridLayout;
    grid_->setColumnStretch(1, 1);
    layout->addLayout(grid_);
    layout->addStretch(1);
    layout->addSpacing(8);  // the buttons apart from the last field
    layout->addWidget(MakeStandardButtons());
}

bool TCntDialog::validate() {
    // OK is off while the rule fails, so only a field's check refuses.
    if (!okRule()) return false;
    return checkFields();
}

void TCntDialog::updateEnabling() { cmdOk->setEnabled(okRule()); }

bool TCntDialog::CheckField(QWidget* control, const QString& label, TCntField field, const QString& text) {
    const auto refusal = CntFieldRefusal(label, field, text);
    if (!refusal) return true;
    Refuse(*refusal);
    control->setFocus();
    return false;
}

QLineEdit* TCntDialog::MakeEdit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent ? parent : this);
    edit->setObjectName(name);
    edit->setMinimumWidth(240);
    return edit;
}

QLabel* TCntDialog::MakeLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent ? parent : this);
    label->setObjectName(QStringLiteral("lbl") + buddy->objectName().mid(3));
    label->setBuddy(buddy);
    return label;
}

QPushButton* TCntDialog::MakeBrowseButton(const QString& name, QWidget* parent) {
    QPushButton* button = MakeButton(name, QStringLiteral("&..."), parent);
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    return button;
}

QGroupBox* TCntDialog::MakeGroup(const QString& name, const QString& caption, QWidget* field, QWidget* button) {
    auto* group = new QGroupBox(caption, this);
    group->setObjectName(name);
    auto* row = new QHBoxLayout(group);
    field->setParent(group);
    row->addWidget(field, 1);
    if (button) {
        button->setParent(group);
        row->addWidget(button);
    }
    return group;
}

std::optional<QString> TCntDialog::BrowseFile(const QString& title, const QString& filter, const QString& extension,
                                              const QString& preset) {
    FileDialogRequest request;
    request.caption = title;
    request.filter = WindowsFilterToQt(filter);
    request.defaultSuffix = extension;
    request.fileName = preset;
    return Ui().OpenFileName(request);
}

void TCntDialog::ConnectBrowse(QPushButton* button, QLineEdit* edit, const QString& title, const QString& filter,
                               const QString& extension) {
    connect(button, &QPushButton::clicked, this, guarded(Ui(), [this, edit, title, filter, extension] {
                if (const auto file = BrowseFile(title, filter, extension, edit->text())) edit->setText(*file);
            }));
}

std::unique_ptr<TCntEntryDialog> MakeCntEntryDialog(TCntNodeKind kind, TDialogFactory& factory, const TProject& project,
                                                    const TMacros& macros, QWidget* parent) {
    UiServices& ui = factory.Ui();
    switch (kind) {
        case TCntNodeKind::Book: return std::make_unique<TfrmNewHeader>(ui, parent);
        case TCntNodeKind::Topic: return std::make_unique<TfrmNewTopic>(ui, project, parent);
        case TCntNodeKind::Comment: return std::make_unique<TfrmNewComment>(ui, parent);
        case TCntNodeKind::Include: return std::make_unique<TfrmNewInclude>(ui, parent);
        case TCntNodeKind::Macro: return std::make_unique<TfrmNewMacro>(factory, macros, parent);
    }
    return nullptr;
}

}  // namespace qm
