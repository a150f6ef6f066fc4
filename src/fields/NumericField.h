// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A one-line field for a whole number of the practice rules (time limit, starting credits): typed
// keys other than digits are dropped, and after every change of its text, text that is not a
// number or is below 1 becomes "0".
#pragma once

#include <QLineEdit>
#include <QString>

namespace corvane {

// True when `text` counts as a number for the change rule: one or more ASCII digits and nothing
// else. Signs, blanks, separators and exponents do not count: the key filter lets only digits in,
// so such text can only come from pasting or from a settings file, and "0" is then the safe value
// (the game reads the field as a plain decimal integer).
bool isFieldNumber(const QString& text);

// The text the change rule leaves in a field that holds `text`: `text` itself when it is a number
// of 1 or more (leading zeros kept), otherwise "0".
QString repairedFieldText(const QString& text);

// True when the key filter lets `character` into a field: a digit, or backspace.
bool isAcceptedFieldCharacter(QChar character);

class NumericField : public QLineEdit {
  Q_OBJECT

 public:
  // A field holding `initialText`, at most `maxLength` characters.
  NumericField(const QString& initialText, int maxLength, QWidget* parent = nullptr);

  // The key filter: returns `character`, or a null character when it must not be inserted.
  static QChar KeyPress(QChar character);

  // The change rule, run after every change of the text (typing, deleting, pasting, setText).
  // Text it replaces with "0" leaves that "0" selected.
  void Change();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
};

}  // namespace corvane
