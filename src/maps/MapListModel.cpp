// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The map list model.
#include "MapListModel.h"

#include <QHash>

namespace corvane {

RowTexts::RowTexts(const QStringList& texts, qsizetype rows) : ids_(rows, 0) {
  QHash<QString, quint32> idOf;
  for (qsizetype row = 0; row < std::min(rows, texts.size()); ++row) {
    if (texts[row].isEmpty()) continue;
    auto id = idOf.constFind(texts[row]);
    if (id == idOf.cend()) {
      texts_.append(texts[row]);
      id = idOf.insert(texts[row], static_cast<quint32>(texts_.size()));
    }
    ids_[row] = *id;
  }
}

QStringList RowTexts::toList() const {
  QStringList list;
  list.reserve(ids_.size());
  for (qsizetype row = 0; row < ids_.size(); ++row) list.append((*this)[row]);
  return list;
}

RowTexts RowTexts::taken(const QList<int>& rows) const {
  RowTexts kept;
  kept.texts_ = texts_;
  kept.ids_.reserve(rows.size());
  for (const int row : rows) kept.ids_.append(ids_[row]);
  return kept;
}

MapListModel::MapListModel(QObject* parent) : QAbstractListModel(parent) {}

void MapListModel::setEntries(QStringList entries, QStringList reasons) {
  beginResetModel();
  entries_ = std::move(entries);
  reasons_ = RowTexts(reasons, entries_.size());
  notes_ = RowTexts({}, entries_.size());
  endResetModel();
}

void MapListModel::setReasons(QStringList reasons) {
  reasons_ = RowTexts(reasons, entries_.size());
  if (!entries_.isEmpty()) emit dataChanged(index(0), index(static_cast<int>(entries_.size()) - 1));
}

void MapListModel::setNotes(QStringList notes) {
  notes_ = RowTexts(notes, entries_.size());
  if (!entries_.isEmpty()) emit dataChanged(index(0), index(static_cast<int>(entries_.size()) - 1));
}

QString MapListModel::reason(int row) const {
  if (row < 0 || row >= entries_.size()) return {};
  if (reasons_.has(row) || limit_ < 0 || row < limit_) return reasons_[row];
  return limitReason_;
}

void MapListModel::setRowLimit(int limit, QString reason) {
  limit_ = limit;
  limitReason_ = std::move(reason);
  if (limit_ >= 0 && limit_ < entries_.size()) {
    emit dataChanged(index(limit_), index(static_cast<int>(entries_.size()) - 1));
  }
}

void MapListModel::append(const QStringList& names) {
  if (names.isEmpty()) return;
  const int first = static_cast<int>(entries_.size());
  beginInsertRows(QModelIndex(), first, first + static_cast<int>(names.size()) - 1);
  entries_.append(names);
  reasons_.resize(entries_.size());
  notes_.resize(entries_.size());
  endInsertRows();
}

void MapListModel::removeRowList(const QList<int>& rows) {
  if (rows.isEmpty()) return;
  // Many scattered rows: one reset is far cheaper than one removal signal per run of rows.
  constexpr qsizetype kResetAbove = 64;
  if (rows.size() > kResetAbove) {
    QList<int> keptRows;
    keptRows.reserve(entries_.size() - rows.size());
    qsizetype next = 0;
    for (int row = 0; row < entries_.size(); ++row) {
      if (next < rows.size() && rows[next] == row) {
        ++next;
      } else {
        keptRows.append(row);
      }
    }
    QStringList kept;
    kept.reserve(keptRows.size());
    for (const int row : keptRows) kept.append(entries_[row]);
    beginResetModel();
    entries_ = std::move(kept);
    reasons_ = reasons_.taken(keptRows);
    notes_ = notes_.taken(keptRows);
    endResetModel();
    return;
  }
  // Few rows: remove each run of adjacent rows, from the bottom up, so views keep the
  // selection and scroll position of the others.
  qsizetype end = rows.size();
  while (end > 0) {
    qsizetype begin = end - 1;
    while (begin > 0 && rows[begin - 1] == rows[begin] - 1) --begin;
    beginRemoveRows(QModelIndex(), rows[begin], rows[end - 1]);
    entries_.remove(rows[begin], rows[end - 1] - rows[begin] + 1);
    reasons_.remove(rows[begin], rows[end - 1] - rows[begin] + 1);
    notes_.remove(rows[begin], rows[end - 1] - rows[begin] + 1);
    endRemoveRows();
    end = begin;
  }
}

QList<int> MapListModel::moveRowList(const QList<int>& rows, int destination) {
  if (rows.isEmpty()) return {};
  const int count = static_cast<int>(entries_.size());
  destination = std::clamp(destination, 0, count);
  QList<int> order;  // order[new row] = old row
  order.reserve(count);
  QList<int> newRows;
  qsizetype next = 0;
  const auto placeMoved = [&] {
    for (const int row : rows) {
      newRows.append(static_cast<int>(order.size()));
      order.append(row);
    }
  };
  for (int row = 0; row < count; ++row) {
    if (row == destination) placeMoved();
    if (next < rows.size() && rows[next] == row) {
      ++next;
    } else {
      order.append(row);
    }
  }
  if (destination == count) placeMoved();
  reorder(order);
  return newRows;
}

QList<int> MapListModel::shiftRows(const QList<int>& rows, int step) {
  const int count = static_cast<int>(entries_.size());
  QList<int> order(count);
  for (int row = 0; row < count; ++row) order[row] = row;
  QList<bool> selected(count, false);
  for (const int row : rows) selected[row] = true;
  // Each selected entry swaps with its unselected neighbour; a selected entry at the edge, or
  // behind one that cannot move, stays.
  if (step < 0) {
    for (int row = 1; row < count; ++row) {
      if (selected[row] && !selected[row - 1]) {
        std::swap(order[row], order[row - 1]);
        std::swap(selected[row], selected[row - 1]);
      }
    }
  } else {
    for (int row = count - 2; row >= 0; --row) {
      if (selected[row] && !selected[row + 1]) {
        std::swap(order[row], order[row + 1]);
        std::swap(selected[row], selected[row + 1]);
      }
    }
  }
  reorder(order);
  QList<int> newRows;
  for (int row = 0; row < count; ++row) {
    if (selected[row]) newRows.append(row);
  }
  return newRows;
}

void MapListModel::reorder(const QList<int>& order) {
  bool unchanged = true;
  for (int row = 0; row < order.size() && unchanged; ++row) unchanged = order[row] == row;
  if (unchanged) return;

  emit layoutAboutToBeChanged();
  QList<int> newRowOf(order.size());
  QStringList reordered;
  reordered.reserve(order.size());
  for (int row = 0; row < order.size(); ++row) {
    newRowOf[order[row]] = row;
    reordered.append(entries_[order[row]]);
  }
  // Views keep their selection and current entry on the entries they were on.
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before) after.append(index(newRowOf[old.row()]));
  entries_ = std::move(reordered);
  reasons_ = reasons_.taken(order);
  notes_ = notes_.taken(order);
  changePersistentIndexList(before, after);
  emit layoutChanged();
}

int MapListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant MapListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= entries_.size()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return entries_[index.row()];
    case Qt::ToolTipRole: {
      // As rich text, which a tooltip wraps to a few lines of a readable width.
      QString tip;
      for (const QString& text : {reason(index.row()), note(index.row())}) {
        if (!text.isEmpty()) tip += QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped());
      }
      return tip.isEmpty() ? QVariant() : QVariant(tip);
    }
    case Qt::AccessibleDescriptionRole: {
      const QString text = QStringList{reason(index.row()), note(index.row())}.join(u' ').trimmed();
      return text.isEmpty() ? QVariant() : QVariant(text);
    }
    case UnplayableRole:
      return !reason(index.row()).isEmpty();
    case NotedRole:
      return !note(index.row()).isEmpty();
    default:
      return {};
  }
}

Qt::ItemFlags MapListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  if (!unplayableSelectable_ && index.row() < reasons_.size() && reasons_.has(index.row())) {
    return Qt::ItemNeverHasChildren;
  }
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
         Qt::ItemNeverHasChildren;
}

}  // namespace corvane
