// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// A second yardstick for the start-up comparison: what Qt itself takes for a window of the main
// window's controls. The same kinds of controls with the same captions at the same places (eight
// labels, two lists of 40 rows, seven buttons without pictures, six check boxes, three option
// buttons, two lines, two text fields), shown, and nothing else: no pictures, no font fitting,
// no look for the game, no settings. It ends as soon as its window is exposed, as startup_probe
// does. Exit status 0 when the window was exposed, 1 otherwise.
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QWidget>

#include "QuitWhenExposed.h"

namespace {

template <typename Control>
Control* place(Control* control, QRect geometry) {
  control->setGeometry(geometry);
  return control;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QWidget window;
  window.setFixedSize(503, 490);

  QStringList rows;
  for (int row = 1; row <= 40; ++row) rows << QStringLiteral("C&C_Practice_%1.mix").arg(row);
  for (const QRect geometry : {QRect(12, 26, 170, 206), QRect(320, 26, 172, 206)}) {
    auto* list = place(new QListView(&window), geometry);
    list->setModel(new QStringListModel(rows, list));
  }

  const struct {
    const char* text;
    QRect geometry;
    bool wrapped;
  } labels[] = {
      {"Available Maps :", {12, 8, 170, 16}, false},
      {"IMPORTANT : The map rotation will always begin with C&C_Under. Just win/lose the first "
       "game and your custom maps will be next.",
       {192, 114, 118, 118},
       true},
      {"Multiplayer Practice Maps :", {320, 8, 172, 16}, false},
      {"Time Limit (Minutes) :", {12, 254, 110, 22}, false},
      {"Starting Credits :", {12, 282, 110, 22}, false},
      {"Radar Mode :", {12, 314, 170, 18}, false},
      {"Note : All of the maps listed above will not have any AI enemies to fight against. You "
       "must download special AI versions of each map, you can do so by clicking here.",
       {12, 440, 480, 44},
       true},
  };
  for (const auto& label : labels) {
    place(new QLabel(QString::fromLatin1(label.text), &window), label.geometry)
        ->setWordWrap(label.wrapped);
  }

  const struct {
    const char* text;
    QRect geometry;
  } buttons[] = {{"&Add -->", {192, 44, 118, 28}},        {"<-- &Remove", {192, 78, 118, 28}},
                 {"Check For Updates", {370, 252, 124, 30}}, {"About ...", {370, 286, 124, 30}},
                 {"Load ...", {370, 328, 124, 30}},        {"Save", {370, 362, 124, 30}},
                 {"Save As ...", {370, 396, 124, 30}}};
  for (const auto& button : buttons) {
    place(new QPushButton(QString::fromLatin1(button.text), &window), button.geometry);
  }

  const char* const checks[] = {"Can Repair Buildings",   "Spawn Weapons",
                                "Friendly Fire",          "Allow Team Changing",
                                "Base Destruction Ends Game", "Beacon Placement Ends Game"};
  for (int row = 0; row < 6; ++row) {
    place(new QCheckBox(QString::fromLatin1(checks[row]), &window), {182, 254 + 24 * row, 182, 20});
  }
  const char* const radar[] = {"No players are shown", "Only teammates are shown",
                               "Everybody is shown"};
  for (int row = 0; row < 3; ++row) {
    place(new QRadioButton(QString::fromLatin1(radar[row]), &window), {14, 334 + 22 * row, 166, 20});
  }
  for (const QRect geometry : {QRect(12, 240, 480, 3), QRect(366, 322, 137, 3)}) {
    place(new QFrame(&window), geometry)->setFrameShape(QFrame::HLine);
  }
  place(new QLineEdit(QStringLiteral("300"), &window), {124, 254, 38, 22});
  place(new QLineEdit(QStringLiteral("10000"), &window), {124, 282, 50, 22});

  window.show();
  const corvane::bench::QuitWhenExposed quitter(window);
  const int result = QApplication::exec();
  return result == 0 && quitter.exposed() ? 0 : 1;
}
