// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting a label's text into a fixed box: a window keeps its fixed layout whatever fonts
// the desktop has, by setting a text smaller where the requested font is missing and its
// replacement runs wider.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>

namespace corvane::widgets {

// How a text is laid out in its box.
enum class TextFlow {
  SingleLine,  // one line, never broken
  WrapWords,   // broken between words to the box's width
};

// The smallest size a fitted text is set in; below it text is no longer comfortably readable.
inline constexpr qreal kSmallestFittedPointSize = 6.0;

// `text` with a break opportunity after each '@' (a zero-width space, which draws as nothing), so
// that a mail address laid out with TextFlow::WrapWords breaks between its name and its domain:
// an address holds no blank, so it would not break at all.
QString withAddressBreaks(const QString& text);

// True when `text` set in `font` fits inside `box` (in device-independent pixels): no line is
// wider than the box and all lines together are not taller. An empty text always fits.
bool textFitsBox(const QString& text, const QFont& font, QSize box, TextFlow flow);

// Returns `font` unchanged when `text` fits `box` in it. Otherwise returns a copy of `font` at the
// largest point size, in steps of a quarter point below the font's own size and not below
// `smallestPointSize`, at which the text fits; when it does not fit even at `smallestPointSize`,
// returns the font at `smallestPointSize`. A font whose size is set in pixels is returned
// unchanged.
QFont fontFittingBox(const QString& text, const QFont& font, QSize box, TextFlow flow,
                     qreal smallestPointSize = kSmallestFittedPointSize);

// The usual sans-serif faces of Windows and of Wine, and those a Linux desktop offers for them,
// in the order a window takes them as a stand-in for a face that fails.
QStringList sansSerifFamilies();

// True when `font` draws ink for the thin letters "i" and "l". A sound font always does; some
// fonts are drawn without them at small sizes (Wine's own Tahoma at 9 and 10 pixels, drawn by
// Windows' text functions under Wine), which leaves gaps in every caption.
bool drawsThinLetters(const QFont& font);

}  // namespace corvane::widgets
