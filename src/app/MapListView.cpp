// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The map list view.
#include "MapListView.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStyle>

#include <algorithm>

#include "ReadingMarks.h"

namespace corvane {

void MapRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
  // What the style draws for a row that holds text only (QCommonStyle's item view item): the
  // row's panel, its text between the focus frame's margins, the focus frame.
  const QWidget* view = option.widget;
  const QStyle* style = view != nullptr ? view->style() : QApplication::style();
  style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, view);

  const bool enabled = option.state & QStyle::State_Enabled;
  const bool selected = option.state & QStyle::State_Selected;
  // A map the game will not play is greyed, and set in italics so that it stands out without
  // colour too; selected, it keeps the highlight's text colour to stay legible.
  const bool unplayable = index.data(MapListModel::UnplayableRole).toBool();
  QPalette::ColorGroup group =
      enabled && (selected || !unplayable) ? QPalette::Normal : QPalette::Disabled;
  if (group == QPalette::Normal && !(option.state & QStyle::State_Active)) {
    group = QPalette::Inactive;
  }
  // An entry the game reads otherwise from the file is marked as a marked control is.
  const bool marked = !selected && index.data(MapListModel::NotedRole).toBool();
  if (marked) painter->fillRect(option.rect, markBackground());
  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
  const QRect textRect = option.rect.adjusted(margin, 0, -margin, 0);
  const QString text = index.data(Qt::DisplayRole).toString();
  painter->save();
  QFont font = option.font;
  font.setItalic(unplayable);
  painter->setFont(font);
  painter->setPen(
      marked ? markText()
             : option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    (unplayable ? QFontMetrics(font) : option.fontMetrics)
                        .elidedText(text, Qt::ElideRight, textRect.width()));
  painter->restore();

  if (option.state & QStyle::State_HasFocus) {
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(option);
    focus.rect = option.rect;
    focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    focus.backgroundColor = option.palette.color(enabled ? QPalette::Normal : QPalette::Disabled,
                                                 selected ? QPalette::Highlight : QPalette::Window);
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, view);
  }
}

MapListView::MapListView(QWidget* parent) : QListView(parent), model_(new MapListModel(this)) {
  setItemDelegate(new MapRowDelegate(this));
  setModel(model_);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);  // keeps long lists cheap to lay out
}

QList<int> MapListView::selectedRows() const {
  QList<int> rows;
  for (const QItemSelectionRange& range : selectionModel()->selection()) {
    for (int row = range.top(); row <= range.bottom(); ++row) {
      if (isSelectable(row)) rows.append(row);
    }
  }
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void MapListView::setReorderable(bool reorderable) {
  reorderable_ = reorderable;
  setDragEnabled(reorderable);
  setAcceptDrops(reorderable);
  setDropIndicatorShown(reorderable);
  setDragDropMode(reorderable ? QAbstractItemView::InternalMove : QAbstractItemView::NoDragDrop);
  setDefaultDropAction(Qt::MoveAction);
}

void MapListView::moveSelectionTo(int destination) {
  const QList<int> rows = selectedRows();
  if (rows.isEmpty()) return;
  selectRows(model_->moveRowList(rows, destination));
}

void MapListView::selectRows(const QList<int>& rows) {
  if (rows.isEmpty()) return;
  QItemSelection selection;
  for (const int row : rows) selection.select(model_->index(row), model_->index(row));
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
  selectionModel()->setCurrentIndex(model_->index(rows.front()), QItemSelectionModel::NoUpdate);
  scrollTo(model_->index(rows.front()));
}

bool MapListView::isSelectable(int row) const {
  const Qt::ItemFlags flags = model_->flags(model_->index(row));
  return flags.testFlag(Qt::ItemIsSelectable) && flags.testFlag(Qt::ItemIsEnabled);
}

int MapListView::selectableFrom(int from, int step) const {
  for (int row = from; row >= 0 && row < model_->rowCount(); row += step) {
    if (isSelectable(row)) return row;
  }
  return -1;
}

QModelIndex MapListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  // The list's own moves stop at an entry that cannot be selected, where Home, End and the
  // page keys would land: they go on to the nearest that can, first the way they went.
  const QModelIndex moved = QListView::moveCursor(action, modifiers);
  if (!moved.isValid() || isSelectable(moved.row())) return moved;
  const bool down = action == MoveDown || action == MoveNext || action == MoveRight ||
                    action == MovePageDown || action == MoveHome;
  const int step = down ? 1 : -1;
  int row = selectableFrom(moved.row(), step);
  if (row < 0) row = selectableFrom(moved.row(), -step);
  return row < 0 ? QModelIndex() : model_->index(row);
}

void MapListView::mousePressEvent(QMouseEvent* event) {
  const QModelIndex at = indexAt(event->position().toPoint());
  const bool extends = event->modifiers() == Qt::ShiftModifier && at.isValid();
  if (extends && !currentIndex().isValid()) {
    // Nothing to start from yet: the range starts at the first entry that can be selected.
    const int first = selectableFrom(0, 1);
    if (first >= 0) {
      selectionModel()->setCurrentIndex(model_->index(first), QItemSelectionModel::NoUpdate);
    }
  }
  if (!at.isValid() || isSelectable(at.row())) {
    QListView::mousePressEvent(event);
    if (!(event->modifiers() & Qt::ShiftModifier)) anchor_ = currentIndex();
    return;
  }
  // An entry that cannot be selected never starts a range (the list would then select nothing);
  // Shift+click on it ends the range at the last entry before it, on the anchor's side, that
  // can be selected, as a click there does.
  const int anchor = anchor_.isValid() ? anchor_.row() : currentIndex().row();
  const int end =
      extends && anchor >= 0 ? selectableFrom(at.row(), anchor < at.row() ? -1 : 1) : -1;
  if (end >= 0 && event->button() == Qt::LeftButton) {
    QMouseEvent there(event->type(), QPointF(visualRect(model_->index(end)).center()),
                      event->scenePosition(), event->globalPosition(), event->button(),
                      event->buttons(), event->modifiers());
    QListView::mousePressEvent(&there);
  }
  event->accept();
}

void MapListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QListView::mouseDoubleClickEvent(event);
  // A double-click on an entry that cannot be selected does nothing.
  const QModelIndex at = indexAt(event->position().toPoint());
  if (at.isValid() && !(model_->flags(at) & Qt::ItemIsSelectable)) return;
  if (event->button() == Qt::LeftButton) emit listDoubleClicked();
}

void MapListView::keyPressEvent(QKeyEvent* event) {
  const bool altOnly = event->modifiers() == Qt::AltModifier ||
                       event->modifiers() == (Qt::AltModifier | Qt::KeypadModifier);
  // Alt+Up and Alt+Down change the order; a list without one to change ignores them rather than
  // taking them for plain arrows.
  if (altOnly && (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down)) {
    const QList<int> rows = reorderable_ ? selectedRows() : QList<int>();
    if (!rows.isEmpty()) {
      const QList<int> moved = model_->shiftRows(rows, event->key() == Qt::Key_Up ? -1 : 1);
      selectRows(moved);
    }
    event->accept();
    return;
  }
  QListView::keyPressEvent(event);
  if (!(event->modifiers() & Qt::ShiftModifier)) anchor_ = currentIndex();
}

namespace {
// The drag's data names the list it came from, so a list takes only its own entries.
const QString kRowsMimeType = QStringLiteral("application/x-corvane-map-rows");
}  // namespace

QMimeData* MapListView::selectionMimeData() const {
  auto* data = new QMimeData;
  data->setData(kRowsMimeType, QByteArray::number(reinterpret_cast<quintptr>(this)));
  return data;
}

void MapListView::startDrag(Qt::DropActions supportedActions) {
  // The drop moves the entries itself (dropEvent); the base class would delete the dragged
  // rows again after a move, so the drag is started here without that step.
  if (!selectionModel()->hasSelection() || !(supportedActions & Qt::MoveAction)) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(selectionMimeData());
  drag->exec(Qt::MoveAction);
}

bool MapListView::isOwnDrag(const QMimeData* data) const {
  return data && data->data(kRowsMimeType) == QByteArray::number(reinterpret_cast<quintptr>(this));
}

void MapListView::dragEnterEvent(QDragEnterEvent* event) {
  // QDragEnterEvent is a QDragMoveEvent: both take only this list's own entries, as a move.
  dragMoveEvent(event);
}

void MapListView::dragMoveEvent(QDragMoveEvent* event) {
  if (!reorderable_ || !isOwnDrag(event->mimeData())) {
    event->ignore();
    return;
  }
  if (event->type() == QEvent::DragEnter) {
    QListView::dragEnterEvent(static_cast<QDragEnterEvent*>(event));
  } else {
    QListView::dragMoveEvent(event);
  }
  event->setDropAction(Qt::MoveAction);
  event->accept();
}

void MapListView::dropEvent(QDropEvent* event) {
  if (!reorderable_ || !isOwnDrag(event->mimeData())) {
    event->ignore();
    return;
  }
  const QPoint position = event->position().toPoint();
  const QModelIndex target = indexAt(position);
  int destination = model_->rowCount();
  if (target.isValid()) {
    const QRect rect = visualRect(target);
    destination = position.y() < rect.center().y() ? target.row() : target.row() + 1;
  }
  moveSelectionTo(destination);
  event->setDropAction(Qt::MoveAction);
  event->accept();
  stopAutoScroll();
  setState(QAbstractItemView::NoState);
  viewport()->update();
}

}  // namespace corvane
