// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's backdrop shades and the colours over them.
#include "Backdrop.h"

#include <QPainter>

namespace corvane {
namespace {

// How far the picture is taken toward white (Light) or black (Dark): its relative luminance of
// about 0.18 becomes about 0.34, or about 0.025.
constexpr qreal kLift = 0.36;
constexpr qreal kDarken = 0.62;

struct TextColours {
  QColor text;
  QColor link;
  QColor disabled;
};

// Chosen against the shaded backdrop's extremes; the test suite measures them on a grab.
TextColours coloursFor(BackdropShade shade) {
  if (shade == BackdropShade::Dark) {
    return {QColor(0xff, 0xff, 0xff), QColor(0x9c, 0xc8, 0xff), QColor(0xa8, 0xa8, 0xa8)};
  }
  return {QColor(0x00, 0x00, 0x00), QColor(0x00, 0x00, 0x80), QColor(0x2b, 0x2b, 0x2b)};
}

}  // namespace

BackdropShade backdropShadeFor(const QPalette& desktop) {
  const QColor window = desktop.color(QPalette::Active, QPalette::Window);
  const QColor text = desktop.color(QPalette::Active, QPalette::WindowText);
  return window.lightnessF() < text.lightnessF() ? BackdropShade::Dark : BackdropShade::Light;
}

void shadeBackdrop(QImage& image, BackdropShade shade) {
  if (image.isNull()) return;
  QPainter painter(&image);
  if (shade == BackdropShade::Light) {
    painter.fillRect(image.rect(), QColor::fromRgbF(1, 1, 1, kLift));
  } else {
    painter.fillRect(image.rect(), QColor::fromRgbF(0, 0, 0, kDarken));
  }
}

QPalette paletteOverBackdrop(QPalette palette, BackdropShade shade) {
  const TextColours colours = coloursFor(shade);
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, colours.text);
    palette.setColor(group, QPalette::Link, colours.link);
  }
  palette.setColor(QPalette::Disabled, QPalette::WindowText, colours.disabled);
  palette.setColor(QPalette::Disabled, QPalette::Link, colours.disabled);
  return palette;
}

}  // namespace corvane
