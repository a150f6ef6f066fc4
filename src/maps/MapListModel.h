// The entries of one map list (the available maps or the rotation) as a Qt item model, with the
// bulk edits the list needs so that adding or removing thousands of maps costs one pass and a
// handful of view updates rather than one per entry.
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QStringList>

#include <algorithm>

namespace corvane {

class MapListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit MapListModel(QObject* parent = nullptr);

  // The entries, top to bottom.
  const QStringList& entries() const { return entries_; }

  // Replaces all entries (views lose their selection).
  void setEntries(QStringList entries);
  void clear() { setEntries({}); }

  // Appends `names` at the end, in order.
  void append(const QStringList& names);

  // Replaces the text of each row in `rows` by `change(old text)`; rows keep their place.
  template <typename Change>
  void changeTexts(const QList<int>& rows, Change change) {
    if (rows.isEmpty()) return;
    int first = rows.front();
    int last = rows.front();
    for (const int row : rows) {
      entries_[row] = change(entries_[row]);
      first = std::min(first, row);
      last = std::max(last, row);
    }
    emit dataChanged(index(first), index(last), {Qt::DisplayRole});
  }

  // Removes the rows in `rows` (ascending, each once); the others keep their order.
  void removeRowList(const QList<int>& rows);

  // Moves the rows in `rows` (ascending, each once) so that, in their order, they stand before
  // the entry now at `destination` (rowCount() for the end). Returns the new rows of the moved
  // entries. Nothing else changes.
  QList<int> moveRowList(const QList<int>& rows, int destination);

  // Moves each row in `rows` (ascending, each once) one place up (`step` -1) or down (+1), past
  // its unselected neighbour; rows at the edge stay. Returns the moved entries' new rows.
  QList<int> shiftRows(const QList<int>& rows, int step);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }

 private:
  // Rearranges the entries: order[new row] = old row.
  void reorder(const QList<int>& order);

  QStringList entries_;
};

}  // namespace corvane
