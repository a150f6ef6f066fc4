// A picture drawn from an SVG file at the screen's own resolution, so that it stays sharp at
// every scale factor; and window icons made from SVG files.
#pragma once

#include <QIcon>
#include <QString>
#include <QWidget>

class QSvgRenderer;

namespace corvane::about {

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

// Returns an icon of the SVG file at `path` that draws the picture at each size asked for, when
// first asked for, and keeps what it drew: making the icon costs only reading the file. It
// offers no fixed sizes (availableSizes() is empty), as scalable icons do; the X11 window icon
// then carries Qt's usual 16, 32, 64 and 128 pixels. Returns an empty icon when the file is not
// a valid SVG picture. Needs no image plugin.
QIcon iconFromSvg(const QString& path);

}  // namespace corvane::about
