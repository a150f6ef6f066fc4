// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A label used as a link: it shows its target as its text, with a pointing-hand mouse pointer,
// and can be reached with the keyboard. It shows the whole target wherever its size allows: a
// link that must not be cut short is given word wrap (QLabel::setWordWrap).
#pragma once

#include <QLabel>

namespace corvane::widgets {

class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  // A one-line label with a pointing-hand pointer that takes the focus with Tab or a click.
  explicit LinkLabel(QWidget* parent = nullptr);

  // Opens the link as a click does (a screen reader's press action).
  void activate() { emit clicked(); }

  // True when the label draws its whole text: on one line, or, with word wrap, over the lines
  // its width needs, broken at blanks and after an '@' (withAddressBreaks). False when it draws
  // it shortened.
  bool showsWholeText() const;

 signals:
  // Emitted once for each activation: a left click (pressed and released over the label), or
  // Enter, Return or Space while the label has the keyboard focus.
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // Draws the whole text when it can (see showsWholeText), placed by alignment(); otherwise on
  // one line, shortened in the middle with an ellipsis (text() stays whole). A focus frame after
  // keyboard navigation.
  void paintEvent(QPaintEvent* event) override;

 private:
  bool leftButtonPressed_ = false;
  bool showsFocusFrame_ = false;
};

}  // namespace corvane::widgets
