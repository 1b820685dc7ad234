#pragma once
// Small helpers the dialogs share.
#include <QObject>
#include <QString>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace qm {

// A number-only edit: every typed or pasted character but the digits 0 to 9
// is dropped. A validator, not a length limit, so a preset of any length
// stays whole.
void DigitsOnly(QLineEdit* edit);

// The row to select after row `removed` went from a list that now has
// `count` rows: the same row, else the last; -1 when the list is empty.
int SelectAfterRemoval(int removed, int count);

// A list the user edits row by row: removing selects the row that
// SelectAfterRemoval names, moving keeps the moved row selected. The list
// keeps its own item data.
class ListEditor : public QObject {
    Q_OBJECT
public:
    explicit ListEditor(QListWidget* list, QObject* parent = nullptr);

    // Appends a row and selects it.
    void Add(const QString& text);
    // Inserts a row before row `row` (at the end when `row` is past the
    // last) and selects it.
    void Insert(int row, const QString& text);
    // Replaces the selected row's text; false when none is selected.
    bool Update(const QString& text);
    // Removes the selected row; false when none is selected.
    bool Remove();
    // Moves the selected row one up or down; false when it cannot move.
    bool MoveUp();
    bool MoveDown();

    QListWidget* List() const { return list_; }

private:
    bool Move(int by);
    QListWidget* list_;
};

// A file filter in the Windows form "Description|*.a;*.b|All files|*.*" as a
// Qt filter "Description (*.a *.b);;All files (*.*)". Each pair's patterns
// come from its pattern half; a description's own "(...)" at its end is
// dropped, so the patterns are never shown twice or wrongly.
QString WindowsFilterToQt(const QString& filter);

}  // namespace qm
