#include "player/albumrows.h"

namespace player {

int AlbumRows::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

QVariant AlbumRows::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_.size()) return QVariant();
    const Row& row = rows_.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::EditRole) return row.text;
    if (role == Qt::UserRole) return row.data;
    return QVariant();
}

bool AlbumRows::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= rows_.size()) return false;
    Row& row = rows_[index.row()];
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        row.text = value.toString();
    else if (role == Qt::UserRole)
        row.data = value;
    else
        return false;
    Q_EMIT dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags AlbumRows::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

bool AlbumRows::insertRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || row > rows_.size() || count <= 0) return false;
    beginInsertRows(parent, row, row + count - 1);
    rows_.insert(row, count, Row{});
    endInsertRows();
    return true;
}

bool AlbumRows::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count <= 0 || row + count > rows_.size()) return false;
    beginRemoveRows(parent, row, row + count - 1);
    rows_.remove(row, count);
    endRemoveRows();
    return true;
}

void AlbumRows::appendRows(const QStringList& texts, const QList<int>& entries)
{
    if (texts.isEmpty()) return;
    const auto first = int(rows_.size());
    beginInsertRows(QModelIndex(), first, first + int(texts.size()) - 1);
    rows_.reserve(first + texts.size());
    for (qsizetype i = 0; i < texts.size(); ++i)
        rows_.append({texts.at(i), i < entries.size() ? QVariant(entries.at(i)) : QVariant()});
    endInsertRows();
}

} // namespace player
