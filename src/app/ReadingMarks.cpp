// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Marking controls.
#include "ReadingMarks.h"

#include <QPalette>
#include <QWidget>

namespace corvane {

QColor markBackground() {
  return {0xFF, 0xE0, 0x82};
}

QColor markText() {
  return {0x1A, 0x1A, 0x1A};
}

void markControl(QWidget* control, const QString& note) {
  // As rich text, which a tooltip wraps to a few lines of a readable width.
  control->setToolTip(note.isEmpty() ? QString()
                                     : QStringLiteral("<p>%1</p>").arg(note.toHtmlEscaped()));
  control->setAccessibleDescription(note);
  control->setAutoFillBackground(!note.isEmpty());
  if (note.isEmpty()) {
    control->setPalette(QPalette());  // the window's again
    return;
  }
  QPalette marked = control->palette();
  for (const QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) {
    marked.setColor(role, markBackground());
  }
  for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) {
    marked.setColor(role, markText());
  }
  control->setPalette(marked);
}

}  // namespace corvane
