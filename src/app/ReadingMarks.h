// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The mark on a control, or a map entry, whose value the game reads otherwise from the file than
// the window shows it.
#pragma once

#include <QColor>
#include <QString>

class QWidget;

namespace corvane {

// The background of a marked control or entry, and its text over it (a contrast above 12:1, on
// light and dark desktops alike).
QColor markBackground();
QColor markText();

// Marks `control` (a field, a check box, the group of the radar options) with `note`, one
// sentence, as its tooltip and its accessible description, its background in markBackground();
// an empty `note` takes the mark off and gives the control back the window's colours.
void markControl(QWidget* control, const QString& note);

}  // namespace corvane
