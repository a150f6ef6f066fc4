// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A picture drawn from an SVG file at the screen's own resolution, so that it stays sharp at
// every scale factor; and window icons made from SVG files.
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>
#include <future>

class QSvgRenderer;

namespace corvane::widgets {

class SvgPicture : public QWidget {
  Q_OBJECT
 public:
  // Shows the SVG file at `path` (a file or ":/" resource). The widget takes the picture's own
  // size in device-independent pixels; an unreadable file leaves it empty, 0 x 0, and draws
  // nothing.
  explicit SvgPicture(const QString& path, QWidget* parent = nullptr);

  // The picture's own size, or 0 x 0 when the file could not be read.
  QSize sizeHint() const override;

  // True when the file was read as a valid SVG picture.
  bool hasPicture() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSvgRenderer* renderer_;
};

// The SVG file at `path` drawn into an image of `size` pixels, transparent where the picture
// leaves it so; a null image when the file is not a valid SVG picture or the size is empty.
// An opaque picture is best drawn in Format_RGB32: such an image is copied to the screen
// without blending. Safe on any thread: each call reads the file with its own renderer.
QImage drawSvg(const QString& path, const QSize& size,
               QImage::Format format = QImage::Format_ARGB32_Premultiplied);

// Runs `work` on a thread of background work (two at the most, taking work in the order given).
// The application waits for these threads before it takes its graphics state down, so the work
// may draw and use fonts. Call from the application's thread, once the application exists.
void runInBackground(std::function<void()> work);

// drawSvg begun now by runInBackground, so that the picture is drawn while this thread goes on;
// the first get() waits for it.
std::shared_future<QImage> drawSvgAhead(
    const QString& path, const QSize& size,
    QImage::Format format = QImage::Format_ARGB32_Premultiplied);

// Returns an icon of the SVG file at `path` that draws the picture at each size asked for, when
// first asked for, and keeps what it drew: making the icon costs only reading the file. The
// sizes of `drawAhead` (in device pixels) are drawn at once by drawSvgAhead, so that
// the first look at them finds them ready or waits only for the rest of that drawing. It offers
// no fixed sizes (availableSizes() is empty), as scalable icons do; the X11 window icon then
// carries Qt's usual 16, 32, 64 and 128 pixels. Returns an empty icon when the file is not a
// valid SVG picture. Needs no image plugin.
QIcon iconFromSvg(const QString& path, const QList<QSize>& drawAhead = {});

}  // namespace corvane::widgets
