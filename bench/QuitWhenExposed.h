// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The end point of the start-up probes: leave the event loop as soon as a shown window is on
// screen and has drawn its first frame.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace corvane::bench {

// Watches the native window of `widget`, which must have been shown (so that it has one), and
// ends the application's event loop once the window is exposed: right after the first expose
// event that leaves it exposed has been handled (Qt Widgets paints the window while handling
// it), or on the next turn of the loop when the window is already exposed. The loop is ended
// once; `exposed()` tells whether that happened.
class QuitWhenExposed final : public QObject {
 public:
  explicit QuitWhenExposed(QWidget& widget) : window_(widget.windowHandle()) {
    if (window_ == nullptr) return;
    if (window_->isExposed()) {
      quitSoon();
    } else {
      window_->installEventFilter(this);
    }
  }

  bool exposed() const { return exposed_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // The filter sees the event before the window handles (and paints) it; the quit is queued
    // behind that handling.
    if (watched == window_ && event->type() == QEvent::Expose && window_->isExposed()) {
      window_->removeEventFilter(this);
      quitSoon();
    }
    return false;
  }

 private:
  void quitSoon() {
    if (exposed_) return;
    exposed_ = true;
    QTimer::singleShot(0, QCoreApplication::instance(), [] { QCoreApplication::quit(); });
  }

  QWindow* window_;
  bool exposed_ = false;
};

}  // namespace corvane::bench
