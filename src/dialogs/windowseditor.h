#pragma once
// Windows Editor: the project's help-window definitions, edited on a private
// copy so that Cancel discards everything; OK puts the copy back and sends
// the topics of windows that are gone to "main". Made and run by
// TDialogFactory::RunWindowsEditor.
#include <optional>
#include <string>

#include <QColor>
#include <QWidget>

#include "model/helpwindows.h"
#include "widgets/qmdialog.h"

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace qm {

class TDialogFactory;
class TMacros;
class TProject;

inline constexpr int kMaxWindows = 255;

// The two colour bands of a window: the non-scrolling area above, the topic
// area below. The tooltip names the colour under the pointer.
class TColorPanel : public QWidget {
    Q_OBJECT
public:
    explicit TColorPanel(QWidget* parent = nullptr);
    void SetColors(TColorRef nonScrolling, TColorRef topic);
    // "Red: r, Green: g, Blue: b" of the band at height `y`.
    QString HintAt(int y) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    TColorRef rgb1_ = 0xFFFFFF;
    TColorRef rgb2_ = 0xFFFFFF;
};

class TfrmWindows : public QmDialog {
    Q_OBJECT
public:
    TfrmWindows(TDialogFactory& factory, TProject& project, const TMacros& macros, QWidget* parent = nullptr);

    // The working copy and the definition shown (null: none selected).
    const TWindows& WorkingCopy() const { return copy_; }
    TWindowDef* Current() const { return cur_; }

    // The buttons, as the user clicks them.
    void NewClick();
    void RenameClick();
    void RemoveClick();
    void DefPosClick();
    void AutoSizerClick();
    void ChgNoScrollClick();
    void ChgClientClick();
    void AddMacroClick();
    void RemoveMacroClick();
    void ClearClick();
    void BrowseMacroClick();

    QListWidget* lstWindows = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdRemove = nullptr;
    QTabWidget* tbsAttribs = nullptr;
    QLineEdit* txtWindowName = nullptr;
    QPushButton* cmdRename = nullptr;
    QLineEdit* txtWinTitle = nullptr;
    QCheckBox* chkAutoSizeHeight = nullptr;
    QCheckBox* chkKeepOnTop = nullptr;
    QCheckBox* chkMaximizeWin = nullptr;
    QSpinBox* udLeft = nullptr;
    QSpinBox* udTop = nullptr;
    QSpinBox* udWidth = nullptr;
    QSpinBox* udHeight = nullptr;
    QCheckBox* chkAdjustRes = nullptr;
    QPushButton* cmdAutoSizer = nullptr;
    QPushButton* cmdDefPos = nullptr;
    QCheckBox* chkContents = nullptr;
    QCheckBox* chkHelpTopics = nullptr;
    QCheckBox* chkIndex = nullptr;
    QCheckBox* chkFind = nullptr;
    QCheckBox* chkPrint = nullptr;
    QCheckBox* chkBrowse = nullptr;
    QCheckBox* chkOptions = nullptr;
    QCheckBox* chkBack = nullptr;
    QCheckBox* chkNoDefButtons = nullptr;
    TColorPanel* pbColor = nullptr;
    QPushButton* cmdChgNoScroll = nullptr;
    QPushButton* cmdChgClient = nullptr;
    QLineEdit* txtMacro = nullptr;
    QPushButton* cmdBrowseMacro = nullptr;
    QListWidget* lstMacros = nullptr;
    QPushButton* cmdAdd = nullptr;
    QPushButton* cmdRemoveMacro = nullptr;
    QPushButton* cmdClear = nullptr;

protected:
    void store() override;
    int helpContext() const override;

private:
    void BuildControls();
    // Shows the definition of list row `row`; -1: none (the pages go dark).
    void ShowWindow(int row);
    // The no-default-buttons handling of MAIN: on clears and enables the
    // five default buttons, off ticks and disables them.
    void ApplyNoDefButtons(bool on);
    // Help topics excludes Contents and Index.
    void HelpTopicsRule();
    void ButtonToggled(QCheckBox* box, std::uint8_t bit);
    void AttributeToggled(QCheckBox* box, std::uint8_t bit);
    void PositionChanged();
    void AdjustResClicked(bool on);
    // The position range: help units while adjusting, else any pixel value.
    void SetPositionRange(bool helpUnits);
    void SetPosition(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
    // The checked name for New and Rename; empty when refused.
    std::string CheckName(const QString& answer);
    bool IsMain() const;
    void PageChanged(int index);
    void UpdateMacroButtons();
    std::optional<QColor> PickColor();

    TDialogFactory& factory_;
    TProject& project_;
    const TMacros& macros_;
    TWindows copy_;
    TWindowDef* cur_ = nullptr;
    // True while a window's values are shown: nothing is written then.
    bool showing_ = false;
    // True while the no-default-buttons handling sets the five boxes.
    bool settingDefaults_ = false;
    QColor lastColor_ = Qt::black;
};

}  // namespace qm
