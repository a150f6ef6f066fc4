// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How the program's own widgets present themselves to screen readers (through Qt's
// accessibility interfaces, which the desktop's accessibility bus reads): a LinkLabel as a link
// whose press action opens it, a radio button as a radio button (Qt presents one that is not
// auto-exclusive, as every option of this program's groups is, as a check box), and a
// Grouping as a named group of the controls inside it.
#pragma once

#include <QWidget>

namespace corvane::widgets {

// An invisible widget that holds related controls, so that a screen reader announces them as
// one group named by its accessibleName(). It draws nothing.
class Grouping : public QWidget {
  Q_OBJECT
 public:
  explicit Grouping(QWidget* parent = nullptr);
};

// Installs the interfaces above, once per process; later calls do nothing. A LinkLabel and a
// Grouping install them when made; a window with radio buttons calls this itself.
void installAccessibleInterfaces();

// The accessible name for a control captioned by `caption`: the caption without its mnemonic
// marks and without the " :" that ends it on screen.
QString nameFromCaption(const QString& caption);

}  // namespace corvane::widgets
