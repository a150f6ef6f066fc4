// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A map list: extended multiple selection over the entries that can be selected (Home and End go
// to the first and last of them; Shift with a click or an arrow selects those of the range, also
// when the click is on one that cannot be), a signal for a double-click anywhere in the list,
// and, for the rotation, moving entries by drag and drop and by Alt+Up / Alt+Down.
#pragma once

#include <QListView>
#include <QMimeData>
#include <QStyledItemDelegate>

#include "MapListModel.h"

namespace corvane {

// Draws a map list's rows as the style draws a row of text alone, without laying out the room
// for a check box, an icon or an editor that a map row never has: a list shows its rows in
// about two thirds of the time.
class MapRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

class MapListView : public QListView {
  Q_OBJECT

 public:
  explicit MapListView(QWidget* parent = nullptr);

  MapListModel* mapModel() const { return model_; }

  // Rows of the selected entries, ascending (never one that cannot be selected).
  QList<int> selectedRows() const;

  // Lets the user reorder the entries (drag and drop inside the list, Alt+Up, Alt+Down). A list
  // that cannot be reordered ignores Alt+Up and Alt+Down.
  void setReorderable(bool reorderable);

  // Moves the selected entries, in their order, before the entry at `destination` (rowCount()
  // for the end); they stay selected. Membership and every other entry's order stay the same.
  void moveSelectionTo(int destination);

  // Makes exactly `rows` (ascending) the selection, the first of them current and in view.
  void selectRows(const QList<int>& rows);

  // The data a drag of the selected entries carries: it names this list, and only this list
  // takes it when dropped.
  QMimeData* selectionMimeData() const;

 signals:
  // A double-click in the list, on an entry or not, after its first click has selected.
  void listDoubleClicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool isOwnDrag(const QMimeData* data) const;
  bool isSelectable(int row) const;
  // The row nearest to `from` (itself included), going by `step` (-1 or 1), that can be selected;
  // -1 when none can.
  int selectableFrom(int from, int step) const;

  MapListModel* model_;
  QPersistentModelIndex anchor_;  // where the next Shift+click or Shift+arrow range starts
  bool reorderable_ = false;
};

}  // namespace corvane
