#pragma once
// The rows of the tool bar's topic and popup boxes: a name and a node Id a
// row, every row drawn with the box's one glyph. A plain list, because the
// toolkit's item model made and announced an object per row, which filling a
// box of 40,000 names felt. The box's own calls (insertItem, removeItem,
// itemText, itemData, findData, itemIcon) work on it as on that model.
#include <QAbstractListModel>
#include <QIcon>
#include <QString>
#include <vector>

namespace qm {

class TNameBoxModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Row {
        QString Name;
        qulonglong Id = 0;
    };

    explicit TNameBoxModel(QIcon glyph, QObject* parent = nullptr);

    // The rows replaced by `rows`, in one reset.
    void Reset(std::vector<Row> rows);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // Qt::DisplayRole and Qt::EditRole the name, Qt::DecorationRole the
    // glyph, Qt::UserRole the Id.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // Sets the name or the Id; the glyph is the box's, so a row's icon is
    // taken as set.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;

private:
    QIcon glyph_;
    std::vector<Row> rows_;
};

}  // namespace qm
