// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric field.
#include "NumericField.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>

namespace corvane {

bool isFieldNumber(const QString& text) {
  if (text.isEmpty()) return false;
  for (const QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  }
  return true;
}

QString repairedFieldText(const QString& text) {
  if (!isFieldNumber(text)) return QStringLiteral("0");
  for (const QChar c : text) {
    if (c != QLatin1Char('0')) return text;  // a whole part of 1 or more
  }
  return QStringLiteral("0");
}

bool isAcceptedFieldCharacter(QChar character) {
  return character == QChar(8) || (character >= QLatin1Char('0') && character <= QLatin1Char('9'));
}

NumericField::NumericField(const QString& initialText, int maxLength, QWidget* parent)
    : QLineEdit(parent) {
  setMaxLength(maxLength);
  setText(initialText);
  connect(this, &QLineEdit::textChanged, this, &NumericField::Change);
}

QChar NumericField::KeyPress(QChar character) {
  return isAcceptedFieldCharacter(character) ? character : QChar();
}

void NumericField::Change() {
  const QString repaired = repairedFieldText(text());
  if (repaired == text()) return;
  setText(repaired);
  // The "0" put in stands selected: the digits typed next replace it rather than follow it, so
  // that clearing a field and typing a new value gives that value.
  selectAll();
}

void NumericField::keyPressEvent(QKeyEvent* event) {
  // The editing shortcuts (copy, paste, undo, select all...) keep working; the change rule
  // repairs whatever a paste brings in.
  static const QKeySequence::StandardKey kEditingKeys[] = {
      QKeySequence::Copy, QKeySequence::Cut,       QKeySequence::Paste, QKeySequence::Undo,
      QKeySequence::Redo, QKeySequence::SelectAll, QKeySequence::Delete};
  for (const auto key : kEditingKeys) {
    if (event->matches(key)) {
      QLineEdit::keyPressEvent(event);
      return;
    }
  }
  const QString typed = event->text();
  if (typed.size() == 1 && event->key() != Qt::Key_Backspace && KeyPress(typed[0]).isNull()) {
    event->accept();  // a character the filter drops: nothing is inserted
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void NumericField::inputMethodEvent(QInputMethodEvent* event) {
  // Text composed through an input method obeys the same filter as typed keys.
  QString digits;
  for (const QChar c : event->commitString()) {
    if (!KeyPress(c).isNull() && c != QChar(8)) digits.append(c);
  }
  if (digits != event->commitString()) {
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(digits, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    return;
  }
  QLineEdit::inputMethodEvent(event);
}

}  // namespace corvane
