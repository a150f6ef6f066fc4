// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window as a screen reader meets it, through Qt's
// accessibility interfaces, and the legibility of what the main window draws on its backdrop,
// measured on grabs of the window with the desktop's default and a dark palette.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "GameWindow.h"
#include "NumericField.h"
#include "OptionButton.h"

using corvane::testing::GameWindow;

namespace {

QAccessibleInterface* interfaceOf(QObject* object) {
  return QAccessible::queryAccessibleInterface(object);
}

// Every interface below `root`, depth first.
QList<QAccessibleInterface*> treeBelow(QAccessibleInterface* root) {
  QList<QAccessibleInterface*> all;
  for (int i = 0; i < root->childCount(); ++i) {
    QAccessibleInterface* child = root->child(i);
    all << child << treeBelow(child);
  }
  return all;
}

// WCAG 2's relative luminance.
double luminance(const QColor& colour) {
  const auto channel = [](double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
         0.0722 * channel(colour.blueF());
}

// The contrast of `widget`'s text against the backdrop under it: its text's extreme pixel (the
// one furthest in luminance from the backdrop: the colour of a fully covered pixel) against
// the backdrop's pixel nearest to it in luminance, measured on two grabs of the window, with
// the widget shown and hidden. A check box or an option is measured right of its indicator.
double textContrast(QWidget* window, QWidget* widget) {
  QRect area(widget->mapTo(window, QPoint(0, 0)), widget->size());
  if (qobject_cast<QAbstractButton*>(widget) != nullptr) area.setLeft(area.left() + 20);
  const auto luminances = [&] {
    const QImage image = window->grab(area).toImage();
    QList<double> all;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) all.append(luminance(image.pixelColor(x, y)));
    }
    return all;
  };
  const QList<double> shown = luminances();
  widget->hide();
  const QList<double> backdrop = luminances();
  widget->show();
  const double mean = std::accumulate(backdrop.begin(), backdrop.end(), 0.0) / backdrop.size();
  const double text = *std::max_element(shown.begin(), shown.end(), [&](double a, double b) {
    return std::abs(a - mean) < std::abs(b - mean);
  });
  const auto [darkest, lightest] = std::minmax_element(backdrop.begin(), backdrop.end());
  return text < mean ? (*darkest + 0.05) / (text + 0.05) : (text + 0.05) / (*lightest + 0.05);
}

// A dark desktop palette, as a dark GTK theme gives Qt.
QPalette darkDesktop() {
  QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24));
  dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
  dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
  dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xee));
  dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
  dark.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x6e, 0x6e, 0x6e));
  return dark;
}

}  // namespace

class tst_Accessibility : public QObject {
  Q_OBJECT

 private slots:
  void init() { QAccessible::setActive(true); }

  // Lists and fields are named by their captions and labelled by them; the radar options are
  // radio buttons in a group named by its caption; nothing hidden is in the tree.
  void controlsAreNamedAndOptionsGrouped() {
    GameWindow t({"C&C_Field.mix"}, "[Settings]\r\n");
    frmSkirmish& w = t.window;
    const QList<std::pair<QWidget*, QLabel*>> captioned = {
        {w.lstRenData, w.Label6},
        {w.lstMaps, w.Label7},
        {static_cast<QWidget*>(w.txtTime), w.Label1},
        {static_cast<QWidget*>(w.txtCredits), w.Label2}};
    for (const auto& [control, caption] : captioned) {
      QAccessibleInterface* iface = interfaceOf(control);
      const QString name = iface->text(QAccessible::Name);
      QVERIFY2(!name.isEmpty() && caption->text().startsWith(name), qPrintable(name));
      const auto labelled = interfaceOf(caption)->relations(QAccessible::Labelled);
      const bool labels = std::any_of(labelled.begin(), labelled.end(), [&](const auto& relation) {
        return relation.first->object() == control;
      });
      QVERIFY2(labels, qPrintable(control->objectName()));
    }
    for (corvane::OptionButton* option : w.optRadar) {
      QAccessibleInterface* iface = interfaceOf(option);
      QCOMPARE(iface->role(), QAccessible::RadioButton);
      QCOMPARE(iface->text(QAccessible::Name), option->text());
      QCOMPARE(iface->state().checked, option->isChecked());
      QCOMPARE(iface->parent()->role(), QAccessible::Grouping);
      const QString group = iface->parent()->text(QAccessible::Name);
      QVERIFY2(!group.isEmpty() && w.Label3->text().startsWith(group), qPrintable(group));
    }
    // A screen reader's toggle action selects an option as a click does.
    interfaceOf(w.optRadar[0])
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(w.optRadar[0]->isChecked() && !w.optRadar[2]->isChecked());
    for (QAccessibleInterface* iface : treeBelow(interfaceOf(&w))) {
      QVERIFY2(!iface->state().invisible, qPrintable(iface->text(QAccessible::Name)));
    }
  }

  // The note's link is a link a screen reader can press; pressing opens what a click opens.
  // It stays out of the Tab order. (The About window's links are the same widget.)
  void linksArePressableLinks() {
    GameWindow t({"C&C_Field.mix"}, "[Settings]\r\n");
    QAccessibleInterface* link = interfaceOf(t.window.lblMapvault);
    QCOMPARE(link->role(), QAccessible::Link);
    QCOMPARE(link->text(QAccessible::Name), t.window.lblMapvault->text());
    QTest::mouseClick(t.window.lblMapvault, Qt::LeftButton);
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(t.desktop.openedTargets.size(), 2);
    QCOMPARE(t.desktop.openedTargets[1], t.desktop.openedTargets[0]);
    QCOMPARE(t.window.lblMapvault->focusPolicy(), Qt::NoFocus);
  }

  // Text drawn on the backdrop reads at 4.5:1 at least, on a light and on a dark desktop.
  void textOnTheBackdropIsLegible_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("default desktop") << false;
    QTest::newRow("dark desktop") << true;
  }
  void textOnTheBackdropIsLegible() {
    QFETCH(bool, dark);
    const QPalette desktop = QApplication::palette();
    if (dark) QApplication::setPalette(darkDesktop());
    {
      GameWindow t({"C&C_Field.mix"}, "[Settings]\r\n");
      frmSkirmish& w = t.window;
      const QList<QWidget*> enabled = {w.Label1, w.Label8, w.lblMapvault, w.optRadar[0],
                                       w.chkRepair};
      for (QWidget* widget : enabled) {
        const double ratio = textContrast(&w, widget);
        QVERIFY2(ratio >= 4.5, qPrintable(widget->objectName() + ": " + QString::number(ratio)));
      }
    }
    QApplication::setPalette(desktop);
  }
};

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
