// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A Corvane process's start-up, shared by main.cpp and the start-up benchmark so that both start
// alike: what every process sets on its QApplication before the window (its name, its desktop
// entry, its icon), and the whole start-up up to the window shown.
#pragma once

#include <QApplication>

#include <memory>

#include "Desktop.h"
#include "GameLookAhead.h"
#include "Registry.h"
#include "frmSkirmish.h"

namespace corvane {

// Call once, right after the QApplication is constructed.
void setUpApplication();

// The family the program's text is drawn in on Windows, where the system's dialog font is an
// alias (MS Shell Dlg 2 of Tahoma, say): `resolved`, the family the system draws for the family
// `asked`, when it is that family or one of the usual sans-serif faces of Windows and Wine;
// otherwise the system drew a stand-in of its own (under a Wine that lacks the fonts behind the
// alias, a mathematical serif face), and the first of those sans-serif faces that `available`
// holds takes its place; `resolved` when none is available.
QString legibleFamily(const QString& asked, const QString& resolved, const QStringList& available);

// The start-up, in this order: the system registry and the look for the game, begun on a thread
// of its own before anything else (it needs no display, and goes on while the application
// connects to one); the QApplication, set up by setUpApplication; the real desktop; the main
// window; its Form_Load; and, unless the user ended start-up there, the window shown. The event
// loop is the caller's (QApplication::exec()).
class Program {
 public:
  // `argc` and `argv` must outlive the program, as QApplication's must.
  Program(int& argc, char** argv);
  ~Program();

  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // False when the user chose to end the program at start-up: the window was not shown.
  bool started() const { return started_; }

  frmSkirmish& window() { return *window_; }

 private:
  // Qt's accessibility on Linux asks the session bus, as the first widget is made, whether a
  // screen reader is on; screen readers find programs through that bus, so without one none can
  // be. Asked for a session bus where there is none, the bus library starts one of its own
  // (dbus-launch: about 20 ms, and a bus that can outlive the program). While it exists, this
  // tells the process's bus library of no bus, where no session bus is to be found; release()
  // puts the environment back (the web browser and mail program Corvane starts inherit it).
  class NoBusOfItsOwn {
   public:
    NoBusOfItsOwn();
    void release();

   private:
    bool engaged_ = false;
  };

  NoBusOfItsOwn noBusOfItsOwn_;
  std::unique_ptr<RegistryStore> registry_;
  GameLookAhead lookAhead_;
  QApplication application_;
  QtDesktop desktop_;
  std::unique_ptr<frmSkirmish> window_;
  bool started_ = false;
};

}  // namespace corvane
