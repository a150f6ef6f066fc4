// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The entries of one map list (the available maps or the rotation) as a Qt item model, with the
// bulk edits the list needs so that adding or removing thousands of maps costs one pass and a
// handful of view updates rather than one per entry. An entry may carry a reason why the game
// will not play it: its tooltip, and what the list's delegate draws greyed.
#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QStringList>

#include <algorithm>

namespace corvane {

// A text for each of a list's rows where most rows have none (the reasons and notes of
// thousands of maps): a small number per row, and each distinct text kept once.
class RowTexts {
 public:
  RowTexts() = default;
  // `rows` rows carrying `texts` in order, the missing ones empty.
  RowTexts(const QStringList& texts, qsizetype rows);

  qsizetype size() const { return ids_.size(); }
  // The text of `row` (an empty one when it has none).
  QString operator[](qsizetype row) const {
    const quint32 id = ids_[row];
    return id == 0 ? QString() : texts_[id - 1];
  }
  bool has(qsizetype row) const { return ids_[row] != 0; }
  QStringList toList() const;

  // Rows added at the end are empty.
  void resize(qsizetype rows) { ids_.resize(rows); }
  void remove(qsizetype row, qsizetype count) { ids_.remove(row, count); }
  // The texts of `rows`, in their order.
  RowTexts taken(const QList<int>& rows) const;

 private:
  QList<quint32> ids_;  // 0 for none, else the text's place in texts_ plus one
  QStringList texts_;
};

class MapListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // True for an entry the game will not play (it has a reason()).
  static constexpr int UnplayableRole = Qt::UserRole + 1;
  // True for an entry with a note().
  static constexpr int NotedRole = Qt::UserRole + 2;

  explicit MapListModel(QObject* parent = nullptr);

  // The entries, top to bottom.
  const QStringList& entries() const { return entries_; }
  // The reasons the entries carry themselves (empty texts for none), in step with entries().
  QStringList reasons() const { return reasons_.toList(); }
  // Why the game will not play the entry at `row`: its own reason, else the limit's (see
  // setRowLimit); empty when it plays.
  QString reason(int row) const;

  // The note on the entry at `row` (see setNotes); empty when it has none.
  QString note(int row) const { return row >= 0 && row < notes_.size() ? notes_[row] : QString(); }

  // Replaces all entries, with their `reasons` (missing ones empty) and no notes; views lose
  // their selection.
  void setEntries(QStringList entries, QStringList reasons = {});

  // Gives the entries, top to bottom, these `reasons` or `notes` (missing ones empty), which
  // then move with their entries. Entries and selections stay as they are.
  void setReasons(QStringList reasons);
  void setNotes(QStringList notes);
  void clear() { setEntries({}); }

  // Appends `names` at the end, in order, without reasons or notes.
  void append(const QStringList& names);

  // Entries at row `limit` and below, wherever they come to stand, carry `reason` unless they
  // have their own.
  void setRowLimit(int limit, QString reason);

  // Whether an entry with a reason of its own can be selected (and dragged); it can by default.
  void setUnplayableSelectable(bool selectable) { unplayableSelectable_ = selectable; }

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
  RowTexts reasons_;
  RowTexts notes_;
  int limit_ = -1;  // none
  QString limitReason_;
  bool unplayableSelectable_ = true;
};

}  // namespace corvane
