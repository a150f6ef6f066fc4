// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A label used as a link.
#include "LinkLabel.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "Accessibility.h"
#include "TextFitting.h"

namespace corvane::widgets {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  installAccessibleInterfaces();
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
}

bool LinkLabel::showsWholeText() const {
  const QSize room = contentsRect().size();
  if (fontMetrics().horizontalAdvance(text()) <= room.width()) return true;
  return wordWrap() && textFitsBox(withAddressBreaks(text()), font(), room, TextFlow::WrapWords);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(event);
    return;
  }
  leftButtonPressed_ = true;
  event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QLabel::mouseReleaseEvent(event);
    return;
  }
  const bool releasedOver = rect().contains(event->position().toPoint());
  const bool activates = leftButtonPressed_ && releasedOver;
  leftButtonPressed_ = false;
  event->accept();
  if (activates) emit clicked();
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      event->accept();
      if (!event->isAutoRepeat()) emit clicked();
      return;
    default:
      QLabel::keyPressEvent(event);
  }
}

void LinkLabel::focusInEvent(QFocusEvent* event) {
  // The frame marks where the keyboard is; a click or the window's activation needs no marker.
  showsFocusFrame_ = event->reason() == Qt::TabFocusReason ||
                     event->reason() == Qt::BacktabFocusReason ||
                     event->reason() == Qt::ShortcutFocusReason;
  QLabel::focusInEvent(event);
  update();
}

void LinkLabel::focusOutEvent(QFocusEvent* event) {
  showsFocusFrame_ = false;
  leftButtonPressed_ = false;
  QLabel::focusOutEvent(event);
  update();
}

void LinkLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = contentsRect();
  painter.setPen(palette().color(foregroundRole()));
  if (wordWrap() && showsWholeText()) {
    painter.drawText(area, alignment().toInt() | Qt::TextWordWrap, withAddressBreaks(text()));
  } else {
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    painter.drawText(area, alignment().toInt() | Qt::TextSingleLine, shown);
  }
  if (showsFocusFrame_ && hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.backgroundColor = palette().color(backgroundRole());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

}  // namespace corvane::widgets
