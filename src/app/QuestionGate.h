// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping the window still while the player answers: reloads wait until no question, dialog or
// save is open.
#pragma once

#include <QObject>

#include <functional>
#include <map>

#include "Desktop.h"

namespace corvane {

class QuestionGate : public QObject {
 public:
  using QObject::QObject;

  // Holds the gate while it lives.
  class Hold {
   public:
    explicit Hold(QuestionGate& gate) : gate_(gate) { ++gate_.holds_; }
    ~Hold() { gate_.release(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    QuestionGate& gate_;
  };

  bool isHeld() const { return holds_ > 0; }

  // Runs `action` at once when nothing holds the gate. Otherwise keeps it under `key` (a later
  // action of the same key takes its place) and runs it once the last hold has ended and the
  // event loop runs again: never in the middle of the handler that held the gate.
  void whenFree(int key, std::function<void()> action);

 private:
  void release();
  void runWaiting();

  int holds_ = 0;
  std::map<int, std::function<void()>> waiting_;
};

// A desktop whose message boxes and dialogs hold `gate` while they are open; everything else is
// `desktop`'s own.
class GatedDesktop final : public Desktop {
 public:
  GatedDesktop(Desktop& desktop, QuestionGate& gate) : desktop_(desktop), gate_(gate) {}

  void openTarget(const std::string& target) override { desktop_.openTarget(target); }
  void showNotice(const std::string& title, const std::string& text) override;
  QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) override;
  QString openFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString saveFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString existingFolder(QWidget* parent, const QString& title,
                         const QString& startFolder) override;

 private:
  Desktop& desktop_;
  QuestionGate& gate_;
};

}  // namespace corvane
