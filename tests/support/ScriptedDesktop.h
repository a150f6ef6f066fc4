// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop for tests: it records every message box, dialog and opened link, and answers them
// from queues the test fills (an empty queue answers like a cancel).
#pragma once

#include <QQueue>
#include <QStringList>

#include <functional>

#include "Desktop.h"

struct ShownMessage {
  QMessageBox::Icon icon;
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton;
};

class ScriptedDesktop final : public corvane::Desktop {
 public:
  QQueue<QMessageBox::StandardButton> messageAnswers;
  QQueue<QString> fileAnswers;  // for open, save and folder dialogs; "" cancels
  QList<ShownMessage> messages;
  QList<corvane::FileDialogRequest> fileRequests;  // open and save dialogs
  QStringList folderRequests;                      // start folders of the folder picker
  QStringList openedTargets;                       // links, and "title|text" of notices
  std::function<void()> whileAsking;               // runs while each message box is open

  void openTarget(const std::string& target) override {
    openedTargets.append(QString::fromStdString(target));
  }
  void showNotice(const std::string& title, const std::string& text) override {
    openedTargets.append(QString::fromStdString(title + "|" + text));
  }
  QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) override {
    messages.append({icon, title, text, buttons, defaultButton});
    if (whileAsking) whileAsking();
    return messageAnswers.isEmpty() ? QMessageBox::Cancel : messageAnswers.dequeue();
  }
  QString openFileName(QWidget*, const corvane::FileDialogRequest& request) override {
    return answer(request);
  }
  QString saveFileName(QWidget*, const corvane::FileDialogRequest& request) override {
    return answer(request);
  }
  QString existingFolder(QWidget*, const QString&, const QString& startFolder) override {
    folderRequests.append(startFolder);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
  }

 private:
  QString answer(const corvane::FileDialogRequest& request) {
    fileRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
  }
};
