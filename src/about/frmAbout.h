// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: which version runs, what the program is for, who made it, and links to its
// home page and mail address.
#pragma once

#include <QWidget>

#include "Shell.h"

class QFrame;
class QLabel;

namespace corvane::widgets {
class LinkLabel;
class SvgPicture;
}  // namespace corvane::widgets

class frmAbout : public QWidget {
  Q_OBJECT
 public:
  // Builds the window with all its controls at their places and runs Form_Load. The window is a
  // top-level window of fixed size (also when given a parent), deletes itself when closed, and
  // opens centred on the screen of the active window (the primary screen when none is active).
  // `shell` receives the targets of the two links and must outlive the window.
  explicit frmAbout(corvane::Shell& shell, QWidget* parent = nullptr);

  // Shows the program's one About window: creates it when none exists (none was opened yet, or
  // the last one was closed), then shows it, not modal and without an owner, restores it when
  // minimised, raises and activates it. Returns that window, never null. An open window keeps
  // the shell it was created with; `shell` must outlive the window.
  static frmAbout* showSingle(corvane::Shell& shell);

  // Sets lblVersion to "Version " followed by the program's major, minor and patch numbers joined
  // by ".", as plain decimal numbers ("Version 1.0.1").
  void Form_Load();

  // Hands the text of lblHomePage to the shell as a web address.
  void lblHomePage_Click();

  // Hands the shell a new mail message to the text of lblEmail with the subject "Rollcall ("
  // followed by the current text of lblVersion and ")".
  void lblEmail_Click();

 private:
  void createControls();
  QLabel* addLabel(const char* name, const QString& text, const QColor& colour);
  // Puts every control at its place and sets the texts in the window's own font at one size,
  // the largest (at most 8.25 pt) at which each of them fits its place.
  void layOutControls();
  void centreOnScreen();

  corvane::Shell& shell_;
  corvane::widgets::SvgPicture* imgLogo_ = nullptr;
  QLabel* lblVersion_ = nullptr;
  QLabel* lblAuthor_ = nullptr;
  QLabel* lblDescription_[2] = {nullptr, nullptr};
  QLabel* lblLanguage_ = nullptr;
  QLabel* Label1_ = nullptr;
  QLabel* lblHomepageTitle_ = nullptr;
  QLabel* lblEmailTitle_ = nullptr;
  corvane::widgets::LinkLabel* lblHomePage_ = nullptr;
  corvane::widgets::LinkLabel* lblEmail_ = nullptr;
  QFrame* fraDiv1_ = nullptr;
  QLabel* lblLinesOfCode_ = nullptr;
};
