// A desktop for tests: it records every message box, dialog and opened link, and answers them
// from queues the test fills (an empty queue answers like a cancel).
#pragma once

#include <QList>
#include <QQueue>
#include <QStringList>

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
  // Answers, taken in order.
  QQueue<QMessageBox::StandardButton> messageAnswers;
  QQueue<QString> fileAnswers;    // for open and save dialogs; "" cancels
  QQueue<QString> folderAnswers;  // for the folder picker; "" cancels

  // What was shown.
  QList<ShownMessage> messages;
  QList<corvane::FileDialogRequest> openRequests;
  QList<corvane::FileDialogRequest> saveRequests;
  QStringList folderRequests;  // "title|start folder"
  QStringList openedTargets;
  QStringList notices;  // "title|text"

  void openTarget(const std::string& target) override {
    openedTargets.append(QString::fromStdString(target));
  }
  void showNotice(const std::string& title, const std::string& text) override {
    notices.append(QString::fromStdString(title + "|" + text));
  }
  QMessageBox::StandardButton message(QWidget*, QMessageBox::Icon icon, const QString& title,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) override {
    messages.append({icon, title, text, buttons, defaultButton});
    return messageAnswers.isEmpty() ? QMessageBox::Cancel : messageAnswers.dequeue();
  }
  QString openFileName(QWidget*, const corvane::FileDialogRequest& request) override {
    openRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
  }
  QString saveFileName(QWidget*, const corvane::FileDialogRequest& request) override {
    saveRequests.append(request);
    return fileAnswers.isEmpty() ? QString() : fileAnswers.dequeue();
  }
  QString existingFolder(QWidget*, const QString& title, const QString& startFolder) override {
    folderRequests.append(title + QLatin1Char('|') + startFolder);
    return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue();
  }
};
