#pragma once
// The import file dialog: asks for the RTF, text or HelpWorkshop file to
// import and, for RTF files, whether topics are to be split by their
// footnotes.
//
// It is a non-native QFileDialog with one row added under the file-type box:
// the "Use footnotes" check box. The box is enabled exactly while the RTF
// type is selected and is unticked whenever the type changes, so a text or
// project import never carries a stale footnote choice.
//
// Use it for one import: create it, preset it (SetFilterIndex,
// SetInitialDir), run it (exec() in the program; open() plus accept() or
// reject() in tests), and read FileName, FilterIndex / Kind and UseFootnotes
// only when Accepted() is true. The Help button emits HelpRequested; the
// caller shows the help topic (context kImportHelpContext).
#include <QFileDialog>
#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace qm {

// What is imported, in the order of the dialog's file types.
enum class TImportKind { Rtf = 0, Text = 1, HpjProject = 2 };

// The help context of the dialog's Help button.
inline constexpr int kImportHelpContext = 475;

class TImportDlg : public QFileDialog {
    Q_OBJECT
public:
    explicit TImportDlg(QWidget* parent = nullptr);

    // The file types offered, first to last ("Rich Text Format (*.rtf)", ...).
    static QStringList ImportFilters();

    // True once the dialog closed with a file chosen.
    bool Accepted() const { return accepted_; }
    // The chosen file (absolute path); empty unless Accepted().
    const QString& FileName() const { return fileName_; }
    // 0-based index of the selected file type (the one the file was chosen
    // with, once the dialog has closed).
    int FilterIndex() const;
    // Selects a file type (out-of-range values select the first) and applies
    // the footnote rule to it.
    void SetFilterIndex(int index);
    // The import that FilterIndex stands for.
    TImportKind Kind() const { return static_cast<TImportKind>(FilterIndex()); }
    // The state of the "Use footnotes" box when the dialog closed with a file;
    // false for text and project files.
    bool UseFootnotes() const { return useFootnotes_; }
    // The folder shown first.
    void SetInitialDir(const QString& dir);

    QCheckBox* FootnotesBox() const { return chkFootnotes_; }

signals:
    void HelpRequested();

protected:
    void done(int result) override;

private:
    // The enabling rule, run at creation and on every type change.
    void TypeChanged();

    QCheckBox* chkFootnotes_ = nullptr;
    QComboBox* typeCombo_ = nullptr;  // the dialog's own file-type box, when found
    int lastIndex_ = -1;              // the type the rule last saw
    bool accepted_ = false;
    bool useFootnotes_ = false;
    QString fileName_;
};

}  // namespace qm
