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

// Returns an icon holding the SVG file at `path` drawn at the usual icon sizes from 16 to 512
// pixels. Returns an empty icon when the file is not a valid SVG picture. Needs no image plugin.
QIcon iconFromSvg(const QString& path);

}  // namespace corvane::about
