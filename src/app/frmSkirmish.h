// The main window: the practice settings and the map rotation of the game.
#pragma once

#include <QWidget>

class frmSkirmish : public QWidget {
  Q_OBJECT
 public:
  explicit frmSkirmish(QWidget* parent = nullptr);
};
