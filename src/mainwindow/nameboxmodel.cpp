#include "mainwindow/nameboxmodel.h"

#include <utility>

namespace qm {

TNameBoxModel::TNameBoxModel(QIcon glyph, QObject* parent) : QAbstractListModel(parent), glyph_(std::move(glyph)) {}

void TNameBoxModel::Reset(std::vector<Row> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TNameBoxModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant TNameBoxModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return {};
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return row.Name;
        case Qt::DecorationRole: return glyph_;
        case Qt::UserRole: return QVariant::fromValue(row.Id);
        default: return {};
    }
}

bool TNameBoxModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount()) return false;
    Row& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: row.Name = value.toString(); break;
        case Qt::UserRole: row.Id = value.toULongLong(); break;
        case Qt::DecorationRole: return true;
        default: return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags TNameBoxModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren : Qt::NoItemFlags;
}

bool TNameBoxModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || row > rowCount() || count < 1) return false;
    beginInsertRows(parent, row, row + count - 1);
    rows_.insert(rows_.begin() + row, static_cast<std::size_t>(count), Row{});
    endInsertRows();
    return true;
}

bool TNameBoxModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount()) return false;
    beginRemoveRows(parent, row, row + count - 1);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    endRemoveRows();
    return true;
}

}  // namespace qm
