// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The About window: its links, driven by real clicks and keys, and its single-window lifetime.
#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QtTest>

#include "LinkLabel.h"
#include "ProgramInfo.h"
#include "RecordingShell.h"
#include "frmAbout.h"

namespace {

QList<frmAbout*> openAboutWindows() {
  QList<frmAbout*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* about = qobject_cast<frmAbout*>(widget); about && about->isVisible())
      windows << about;
  }
  return windows;
}

}  // namespace

class tst_frmAbout : public QObject {
  Q_OBJECT

 private slots:
  void linksOpenTheirTargets() {
    corvane::testing::RecordingShell shell;
    frmAbout window(shell);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* version = window.findChild<QLabel*>(QStringLiteral("lblVersion"));
    QCOMPARE(version->text(), QStringLiteral("Version " CORVANE_VERSION_TEXT));
    for (int link = 0; link < 2; ++link) {  // Tab and Return reach both links
      QTest::keyClick(&window, Qt::Key_Tab);
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    std::sort(shell.openedTargets.begin(), shell.openedTargets.end());
    version->setText(QStringLiteral("Version 2.0 (test build)"));  // the subject follows it
    QTest::mouseClick(window.findChild<QWidget*>(QStringLiteral("lblEmail")), Qt::LeftButton);
    const std::string mail =
        "mailto:" + std::string(corvane::program::kMailAddress) + "?Subject=Rollcall (";
    QCOMPARE(shell.openedTargets,
             (std::vector<std::string>{corvane::program::kHomePage,
                                       mail + "Version " CORVANE_VERSION_TEXT ")",
                                       mail + "Version 2.0 (test build))"}));
  }

  void everyTextShowsWholeAndApart() {
    corvane::testing::RecordingShell shell;
    frmAbout window(shell);
    const QList<QWidget*> controls = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (const QWidget* control : controls) {
      const QString name = control->objectName();
      if (const auto* link = qobject_cast<const corvane::widgets::LinkLabel*>(control)) {
        QVERIFY2(link->showsWholeText(), qPrintable(name));  // a link shows what it opens
      } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
        QVERIFY2(label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                   : label->sizeHint().width() <= label->width(),
                 qPrintable(name));
      }
      QVERIFY2(window.rect().contains(control->geometry()), qPrintable(name));
      for (const QWidget* other : controls) {
        QVERIFY2(other == control || !other->geometry().intersects(control->geometry()),
                 qPrintable(name + u' ' + other->objectName()));
      }
    }
  }

  void showSingleKeepsOneWindowOfItsOwn() {
    corvane::testing::RecordingShell shell;
    auto mainWindow = std::make_unique<QWidget>();
    mainWindow->show();
    QPointer<frmAbout> first = frmAbout::showSingle(shell);
    first->showMinimized();
    QCOMPARE(frmAbout::showSingle(shell), first.data());  // brought back, not a second one
    QVERIFY(!(first->windowState() & Qt::WindowMinimized));
    QCOMPARE(openAboutWindows().size(), 1);
    QCOMPARE(first->parentWidget(), nullptr);
    QCOMPARE(first->windowModality(), Qt::NonModal);
    mainWindow.reset();  // the About window stays when the main window goes
    QVERIFY(first->isVisible());
    first->close();
    QTRY_VERIFY(first.isNull());  // closing unloads it: the next one is new
    QVERIFY(frmAbout::showSingle(shell) != nullptr);
    QCOMPARE(openAboutWindows().size(), 1);
    openAboutWindows().front()->close();
  }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
