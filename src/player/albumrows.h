#pragma once

// The rows of the player's album drop-downs: each a text and, for the album list, the album's
// entry number (the item data). A plain list of both, far lighter than a standard item per row,
// since the drop-downs hold one row for every album of the library.
// GUI thread only.

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

namespace player {

class AlbumRows : public QAbstractListModel
{
    Q_OBJECT

public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    // Appends a row for each of `texts`, with item data `entries` (one per text) when given, told to
    // the views once: row by row, each row would be announced on its own.
    void appendRows(const QStringList& texts, const QList<int>& entries = {});

private:
    struct Row
    {
        QString text;
        QVariant data;
    };
    QVector<Row> rows_;
};

} // namespace player
