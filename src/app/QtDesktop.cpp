// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The real desktop: Qt's message boxes, file dialogs and URL opener.
#include <QDesktopServices>
#include <QFileDialog>
#include <QUrl>

#include "Desktop.h"

#ifdef Q_OS_WIN
#include "ShellOpen.h"
#endif

namespace corvane {
namespace {

QString showFileDialog(QWidget* parent, const FileDialogRequest& request,
                       QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, request.title, request.folder, request.filter);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                     : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.front();
}

}  // namespace

void QtDesktop::openTarget(const std::string& target) {
#ifdef Q_OS_WIN
  openWithShell(target);  // as Windows opens any link
#else
  QDesktopServices::openUrl(QUrl(QString::fromStdString(target), QUrl::TolerantMode));
#endif
}

void QtDesktop::showNotice(const std::string& title, const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), QString::fromStdString(text),
                  QMessageBox::Ok);
  box.exec();
}

QMessageBox::StandardButton QtDesktop::message(QWidget* parent, QMessageBox::Icon icon,
                                               const QString& title, const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton) {
  QMessageBox box(icon, title, text, buttons, parent);
  box.setDefaultButton(defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString QtDesktop::openFileName(QWidget* parent, const FileDialogRequest& request) {
  return showFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtDesktop::saveFileName(QWidget* parent, const FileDialogRequest& request) {
  return showFileDialog(parent, request, QFileDialog::AcceptSave);
}

QString QtDesktop::existingFolder(QWidget* parent, const QString& title,
                                  const QString& startFolder) {
  return QFileDialog::getExistingDirectory(parent, title, startFolder);
}

}  // namespace corvane
