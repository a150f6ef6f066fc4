// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting a label's text into a fixed box.
#include "TextFitting.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
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

QStringList sansSerifFamilies() {
  return {QStringLiteral("Segoe UI"),
          QStringLiteral("Tahoma"),
          QStringLiteral("Microsoft Sans Serif"),
          QStringLiteral("Arial"),
          QStringLiteral("Verdana"),
          QStringLiteral("Liberation Sans"),
          QStringLiteral("DejaVu Sans")};
}

bool drawsThinLetters(const QFont& font) {
  for (const QChar letter : {u'i', u'l'}) {
    const QFontMetrics metrics(font);
    const QSize size(metrics.horizontalAdvance(letter) + 4, metrics.height() + 4);
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(2, 2 + metrics.ascent(), QString(letter));
    painter.end();
    bool inked = false;
    for (int y = 0; y < image.height() && !inked; ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      for (int x = 0; x < image.width() && !inked; ++x) inked = qAlpha(row[x]) != 0;
    }
    if (!inked) return false;
  }
  return true;
}

}  // namespace corvane::widgets
