// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Not a test of the suite: the map lists' own row drawing against Qt's, pixel for pixel: each row,
// and a whole list, come out as with QStyledItemDelegate.
#include <QApplication>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTest>

#include "MapListView.h"

class tst_MapRows : public QObject {
  Q_OBJECT

 private slots:
  void rowsLookAsTheStyleDrawsThem_data();
  void rowsLookAsTheStyleDrawsThem();
  void listLooksAsWithTheStylesRows();
};

void tst_MapRows::rowsLookAsTheStyleDrawsThem_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("state");
  const int normal = QStyle::State_Enabled | QStyle::State_Active;
  const QString name = QStringLiteral("C&C_Practice00001.mix");
  const QString marked = QStringLiteral("+++ C&C_Glacier_Flying.mix");
  const QString longName = QStringLiteral("C&C_A_Map_Name_Far_Too_Long_For_The_List_Width.mix");
  QTest::newRow("plain") << name << normal;
  QTest::newRow("marked") << marked << normal;
  QTest::newRow("selected") << name << (normal | QStyle::State_Selected);
  QTest::newRow("selected, with focus")
      << marked << (normal | QStyle::State_Selected | QStyle::State_HasFocus);
  QTest::newRow("focus only") << name << (normal | QStyle::State_HasFocus);
  QTest::newRow("selected, window inactive")
      << name << int(QStyle::State_Enabled | QStyle::State_Selected);
  QTest::newRow("disabled") << name << int(QStyle::State_None);
  QTest::newRow("disabled, selected") << name << int(QStyle::State_Selected);
  QTest::newRow("elided") << longName << normal;
  QTest::newRow("elided, selected") << longName << (normal | QStyle::State_Selected);
  QTest::newRow("empty") << QString() << (normal | QStyle::State_Selected);
}

void tst_MapRows::rowsLookAsTheStyleDrawsThem() {
  QFETCH(QString, text);
  QFETCH(int, state);
  corvane::MapListView view;
  view.resize(170, 206);
  view.mapModel()->setEntries({text});
  const QModelIndex index = view.mapModel()->index(0);

  const auto drawn = [&](const QAbstractItemDelegate& delegate) {
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.state = QStyle::StateFlag(state);
    option.rect = QRect(0, 0, 160, 18);
    option.showDecorationSelected = true;
    option.features = QStyleOptionViewItem::HasDisplay;
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.textElideMode = Qt::ElideRight;
    option.text = text;
    QImage image(option.rect.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    delegate.paint(&painter, option, index);
    return image;
  };
  const QStyledItemDelegate qtDelegate;
  const QImage expected = drawn(qtDelegate);
  const QImage actual = drawn(*view.itemDelegate());
  QVERIFY(dynamic_cast<const corvane::MapRowDelegate*>(view.itemDelegate()) != nullptr);
  if (actual != expected) {
    expected.save(QStringLiteral("maprow-expected.png"));
    actual.save(QStringLiteral("maprow-actual.png"));
  }
  QCOMPARE(actual, expected);
}

void tst_MapRows::listLooksAsWithTheStylesRows() {
  // Two lists side by side in one window, alike but for the rows' delegate.
  QWidget window;
  corvane::MapListView ours(&window);
  corvane::MapListView qts(&window);
  qts.setItemDelegate(new QStyledItemDelegate(&qts));
  QStringList names;
  for (int i = 1; i <= 30; ++i)
    names << QStringLiteral("C&C_Practice%1.mix").arg(i, 5, 10, QChar('0'));
  names[2] = QStringLiteral("+++ ") + names[2];
  names[4] = QStringLiteral("C&C_A_Map_Name_Far_Too_Long_For_The_List_Width.mix");
  for (corvane::MapListView* view : {&ours, &qts}) {
    view->setGeometry(view == &ours ? 0 : 180, 0, 170, 206);
    view->mapModel()->setEntries(names);
    view->selectionModel()->select(
        QItemSelection(view->mapModel()->index(2), view->mapModel()->index(4)),
        QItemSelectionModel::ClearAndSelect);
    view->selectionModel()->setCurrentIndex(view->mapModel()->index(3),
                                            QItemSelectionModel::NoUpdate);
  }
  window.resize(360, 210);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  ours.setFocus();
  const QImage ourList = ours.grab().toImage();
  qts.setFocus();
  const QImage qtsList = qts.grab().toImage();
  if (ourList != qtsList) {
    ourList.save(QStringLiteral("maplist-ours.png"));
    qtsList.save(QStringLiteral("maplist-qts.png"));
  }
  QCOMPARE(ourList, qtsList);
}

QTEST_MAIN(tst_MapRows)
#include "tst_maprows.moc"
