// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// An option button of a group in which each option is its own Tab stop: Qt's exclusive groups
// let Tab reach only the selected option, while this window's focus order visits all three.
// Selecting one clears the others; a selected option stays selected when clicked again; the
// arrow keys move to the neighbouring option and select it.
#pragma once

#include <QKeyEvent>
#include <QList>
#include <QRadioButton>

namespace corvane {

class OptionButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

  // Joins `options` into one group: exactly one of them is selected at a time.
  static void group(const QList<OptionButton*>& options) {
    for (OptionButton* option : options) {
      option->setAutoExclusive(false);
      option->siblings_ = options;
      QObject::connect(option, &QAbstractButton::toggled, option, [option](bool checked) {
        if (!checked) return;
        for (OptionButton* other : option->siblings_) {
          if (other != option) other->setChecked(false);
        }
      });
    }
  }

 protected:
  void nextCheckState() override { setChecked(true); }

  void keyPressEvent(QKeyEvent* event) override {
    const qsizetype at = siblings_.indexOf(this);
    int step = 0;
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Left) step = -1;
    if (event->key() == Qt::Key_Down || event->key() == Qt::Key_Right) step = 1;
    if (step == 0 || at < 0 || event->modifiers() != Qt::NoModifier) {
      QRadioButton::keyPressEvent(event);
      return;
    }
    for (qsizetype i = at + step; i >= 0 && i < siblings_.size(); i += step) {
      if (siblings_[i]->isEnabled()) {
        siblings_[i]->setFocus(Qt::TabFocusReason);
        siblings_[i]->click();
        break;
      }
    }
    event->accept();
  }

 private:
  QList<OptionButton*> siblings_;
};

}  // namespace corvane
