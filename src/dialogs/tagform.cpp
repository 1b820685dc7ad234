#include "dialogs/tagform.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/dialogfactory.h"
#include "model/project.h"
#include "platform/qtcp1252.h"
#include "platform/uiservices.h"
#include "util/qorstring.h"
#include "widgets/dialoghelpers.h"

namespace qm {

TTagForm::TTagForm(UiServices& ui, const QString& formName, const QString& caption, int helpContext, QWidget* parent)
    : QmDialog(ui, formName, parent), helpContext_(helpContext) {
    setWindowTitle(caption);
    auto* layout = new QVBoxLayout(this);
    grid_ = new QGridLayout;
    grid_->setColumnStretch(1, 1);
    layout->addLayout(grid_);
    layout->addStretch(1);
    layout->addSpacing(10);  // the buttons apart from the last row of fields
    layout->addWidget(MakeStandardButtons());
    cmdOk->setEnabled(false);
}

bool TTagForm::validate() {
    // OK is off while the rule fails, so only a check beyond it refuses.
    if (!okRule()) return false;
    return extraChecks();
}

void TTagForm::updateEnabling() { cmdOk->setEnabled(okRule()); }

QLabel* TTagForm::MakeLabel(const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("lbl") + buddy->objectName().mid(3));
    label->setBuddy(buddy);
    return label;
}

QLineEdit* TTagForm::MakeEdit(const QString& name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMinimumWidth(240);
    return edit;
}

QPushButton* TTagForm::MakeBrowseButton(const QString& name) {
    QPushButton* button = MakeButton(name, QStringLiteral("..."));
    button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    return button;
}

void TTagForm::ChainTabOrder(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (previous) setTabOrder(previous, w);
        previous = w;
    }
}

QComboBox* TTagForm::MakeNameCombo(const QString& name) {
    auto* combo = new QComboBox(this);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(240);
    return combo;
}

void TTagForm::BrowseFile(QLineEdit* edit, const QString& title, const QString& windowsFilter, const QString& extension,
                          const QString& folder) {
    FileDialogRequest request;
    request.caption = title;
    request.filter = WindowsFilterToQt(windowsFilter);
    request.defaultSuffix = extension;
    request.folder = folder;
    if (const auto file = Ui().OpenFileName(request)) edit->setText(*file);
}

void TTagForm::BrowseImage(QLineEdit* edit, const QString& title, const TProject& project) {
    const std::string folder = project.BmRoot.empty() ? ExtractFilePath(project.FileName) : project.BmRoot.front();
    BrowseFile(edit, title,
               QStringLiteral("All image files|*.bmp;*.shg;*.wmf;*.emf|Bitmap images (*.bmp)|*.bmp|"
                              "Segmented hypergraphic images (*.shg)|*.shg|Metafile images (*.wmf)|*.wmf|"
                              "Enhanced metafile images (*.emf)|*.emf"),
               QStringLiteral("bmp"), FromCp1252(folder));
}

void BrowseMacroInto(TDialogFactory& factory, const TMacros& macros, QLineEdit* edit, QWidget* owner) {
    if (const auto expression = factory.RunMacroBuilder(macros, Trim(ToCp1252(edit->text())), owner))
        edit->setText(FromCp1252(*expression));
}

void PresetNameCombo(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) {
        combo->setCurrentIndex(index);
    } else {
        combo->setCurrentIndex(-1);
        combo->setEditText(text);
    }
}

TImageAlign AlignOf(const QComboBox* combo) {
    switch (combo->currentIndex()) {
        case 1: return TImageAlign::Left;
        case 2: return TImageAlign::Right;
        default: return TImageAlign::Character;
    }
}

void FillAlignCombo(QComboBox* combo) {
    combo->addItems({QStringLiteral("Character"), QStringLiteral("Left"), QStringLiteral("Right")});
    combo->setCurrentIndex(static_cast<int>(TImageAlign::Character));
}

}  // namespace qm
