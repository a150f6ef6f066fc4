// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting a label's text into a fixed box.
#include "TextFitting.h"

#include <QFontMetrics>
#include <QRect>

namespace corvane::widgets {

namespace {

// Tall enough for any wrapped text of the About window; boundingRect needs a finite height.
constexpr int kUnboundedHeight = 100000;

}  // namespace

QString withAddressBreaks(const QString& text) {
  QString broken = text;
  return broken.replace(QLatin1Char('@'), QStringLiteral("@\u200B"));
}

bool textFitsBox(const QString& text, const QFont& font, QSize box, TextFlow flow) {
  if (text.isEmpty()) return true;
  const QFontMetrics metrics(font);
  if (flow == TextFlow::SingleLine) {
    return metrics.horizontalAdvance(text) <= box.width() && metrics.height() <= box.height();
  }
  const QRect needed = metrics.boundingRect(QRect(0, 0, box.width(), kUnboundedHeight),
                                            Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
  return needed.width() <= box.width() && needed.height() <= box.height();
}

QFont fontFittingBox(const QString& text, const QFont& font, QSize box, TextFlow flow,
                     qreal smallestPointSize) {
  if (font.pointSizeF() <= 0 || textFitsBox(text, font, box, flow)) return font;
  QFont fitted = font;
  constexpr qreal kStep = 0.25;
  for (qreal size = font.pointSizeF() - kStep; size > smallestPointSize; size -= kStep) {
    fitted.setPointSizeF(size);
    if (textFitsBox(text, fitted, box, flow)) return fitted;
  }
  fitted.setPointSizeF(smallestPointSize);
  return fitted;
}

}  // namespace corvane::widgets
