// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The question gate and the desktop that holds it.
#include "QuestionGate.h"

#include <QTimer>

namespace corvane {

void QuestionGate::whenFree(int key, std::function<void()> action) {
  if (!isHeld()) {
    action();
    return;
  }
  waiting_[key] = std::move(action);
}

void QuestionGate::release() {
  if (--holds_ == 0 && !waiting_.empty()) {
    QTimer::singleShot(0, this, &QuestionGate::runWaiting);
  }
}

void QuestionGate::runWaiting() {
  // A question opened meanwhile holds them again; its end schedules them anew.
  while (!isHeld() && !waiting_.empty()) {
    const auto next = waiting_.begin();
    const std::function<void()> action = std::move(next->second);
    waiting_.erase(next);
    action();
  }
}

void GatedDesktop::showNotice(const std::string& title, const std::string& text) {
  const QuestionGate::Hold hold(gate_);
  desktop_.showNotice(title, text);
}

QMessageBox::StandardButton GatedDesktop::message(QWidget* parent, QMessageBox::Icon icon,
                                                  const QString& title, const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton) {
  const QuestionGate::Hold hold(gate_);
  return desktop_.message(parent, icon, title, text, buttons, defaultButton);
}

QString GatedDesktop::openFileName(QWidget* parent, const FileDialogRequest& request) {
  const QuestionGate::Hold hold(gate_);
  return desktop_.openFileName(parent, request);
}

QString GatedDesktop::saveFileName(QWidget* parent, const FileDialogRequest& request) {
  const QuestionGate::Hold hold(gate_);
  return desktop_.saveFileName(parent, request);
}

QString GatedDesktop::existingFolder(QWidget* parent, const QString& title,
                                     const QString& startFolder) {
  const QuestionGate::Hold hold(gate_);
  return desktop_.existingFolder(parent, title, startFolder);
}

}  // namespace corvane
