// Tests of the About window: its controls, its links driven by real clicks and keys, and its
// single-window lifetime.
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QtTest>

#include "ProgramInfo.h"
#include "RecordingShell.h"
#include "TextFitting.h"
#include "frmAbout.h"

namespace {

const QString kVersionText = QStringLiteral("Version " CORVANE_VERSION_TEXT);
const QColor kBackground(180, 195, 220);
const QColor kBlue(0, 0, 192);
const QColor kNavy(0, 0, 128);
const QColor kBlack(0, 0, 0);

QString exactly(const QString& text) {
  return QStringLiteral("^") + QRegularExpression::escape(text) + QStringLiteral("$");
}

template <typename Control = QWidget>
Control* control(QWidget* window, const QString& name) {
  return window->findChild<Control*>(name);
}

QList<frmAbout*> openAboutWindows() {
  QList<frmAbout*> windows;
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* about = qobject_cast<frmAbout*>(widget); about != nullptr && about->isVisible()) {
      windows.append(about);
    }
  }
  return windows;
}

// How a test works a link label.
enum class LinkAction {
  LeftClick,
  RightClick,
  MiddleClick,
  PressOverReleaseOutside,
  ReturnKey,
  EnterKey,
  SpaceKey,
  LetterKey,
};

void work(QWidget* link, LinkAction action) {
  switch (action) {
    case LinkAction::LeftClick:
      QTest::mouseClick(link, Qt::LeftButton);
      break;
    case LinkAction::RightClick:
      QTest::mouseClick(link, Qt::RightButton);
      break;
    case LinkAction::MiddleClick:
      QTest::mouseClick(link, Qt::MiddleButton);
      break;
    case LinkAction::PressOverReleaseOutside:
      QTest::mousePress(link, Qt::LeftButton);
      QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(link->width() + 20, -20));
      break;
    case LinkAction::ReturnKey:
      link->setFocus(Qt::TabFocusReason);
      QTest::keyClick(link, Qt::Key_Return);
      break;
    case LinkAction::EnterKey:
      link->setFocus(Qt::TabFocusReason);
      QTest::keyClick(link, Qt::Key_Enter, Qt::KeypadModifier);
      break;
    case LinkAction::SpaceKey:
      link->setFocus(Qt::TabFocusReason);
      QTest::keyClick(link, Qt::Key_Space);
      break;
    case LinkAction::LetterKey:
      link->setFocus(Qt::TabFocusReason);
      QTest::keyClick(link, Qt::Key_A);
      break;
  }
}

}  // namespace

Q_DECLARE_METATYPE(LinkAction)

class TestAboutWindow : public QObject {
  Q_OBJECT

 private:
  QStringList openedTargets() const {
    QStringList targets;
    for (const std::string& target : shell_.openedTargets) {
      targets.append(QString::fromStdString(target));
    }
    return targets;
  }

  RecordingShell shell_;

 private slots:
  void init() {
    shell_.openedTargets.clear();
    shell_.notices.clear();
  }

  void cleanup() {
    for (frmAbout* window : openAboutWindows()) window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::setFont(QFont());
  }

  void controlsStandWithTheirTexts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("textPattern");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<QSize>("size");     // not checked when invalid
    QTest::addColumn<QColor>("colour");  // not checked when invalid

    const QString homePage = QString::fromUtf8(corvane::program::kHomePage);
    const QString mail = QString::fromUtf8(corvane::program::kMailAddress);
    QTest::newRow("logo") << "imgLogo" << QString() << QPoint(8, 8) << QSize(51, 69) << QColor();
    QTest::newRow("version, set by Form_Load")
        << "lblVersion" << exactly(kVersionText) << QPoint(74, 7) << QSize() << kBlue;
    QTest::newRow("credit line names the Corvane developers")
        << "lblAuthor"
        << "\\bthe Corvane developers\\b" << QPoint(73, 36) << QSize() << kNavy;
    QTest::newRow("first description, two-line box")
        << "lblDescription0"
        << exactly(
               "Many more people are joining the Renegade community every day. Frequently, "
               "one of the first questions they ask is ;")
        << QPoint(72, 60) << QSize(329, 29) << kNavy;
    QTest::newRow("language note, narrow column")
        << "lblLanguage"
        << "\\S" << QPoint(16, 88) << QSize(33, -1) << QColor();
    QTest::newRow("quoted question")
        << "Label1" << exactly("\"How do i change the multiplayer practice map?\"")
        << QPoint(104, 96) << QSize() << kBlue;
    QTest::newRow("second description, two-line box")
        << "lblDescription1"
        << exactly(
               "This simple application makes it easy to change the gameplay settings of the "
               "practice mode and enables you to add your own maps.")
        << QPoint(72, 116) << QSize(329, 29) << kNavy;
    QTest::newRow("home-page title")
        << "lblHomepageTitle" << exactly("Homepage:") << QPoint(72, 156) << QSize() << kBlue;
    QTest::newRow("mail title") << "lblEmailTitle" << exactly("Email:") << QPoint(292, 158)
                                << QSize() << kBlue;
    QTest::newRow("home-page link shows its address")
        << "lblHomePage" << exactly(homePage) << QPoint(72, 174) << QSize() << kBlack;
    QTest::newRow("mail link shows its address")
        << "lblEmail" << exactly(mail) << QPoint(292, 174) << QSize() << kBlack;
    QTest::newRow("divider") << "fraDiv1" << QString() << QPoint(72, 196) << QSize(333, 5)
                             << QColor();
    QTest::newRow("size note") << "lblLinesOfCode"
                               << "^About [0-9,]+ lines of code$" << QPoint(228, 208) << QSize()
                               << QColor();
  }

  void controlsStandWithTheirTexts() {
    QFETCH(QString, name);
    QFETCH(QString, textPattern);
    QFETCH(QPoint, topLeft);
    QFETCH(QSize, size);
    QFETCH(QColor, colour);

    frmAbout window(shell_);
    QWidget* widget = control(&window, name);
    QVERIFY2(widget != nullptr, qPrintable(name));
    QCOMPARE(widget->pos(), topLeft);
    if (size.width() >= 0) QCOMPARE(widget->width(), size.width());
    if (size.height() >= 0) QCOMPARE(widget->height(), size.height());
    if (!textPattern.isNull()) {
      auto* label = qobject_cast<QLabel*>(widget);
      QVERIFY2(label != nullptr, qPrintable(name + " is not a label"));
      QVERIFY2(QRegularExpression(textPattern).match(label->text()).hasMatch(),
               qPrintable(label->text()));
    }
    if (colour.isValid()) QCOMPARE(widget->palette().color(QPalette::WindowText), colour);
  }

  void descriptionsAreAnIndexedPair() {
    frmAbout window(shell_);
    for (const int index : {0, 1}) {
      QLabel* label = control<QLabel>(&window, QStringLiteral("lblDescription%1").arg(index));
      QVERIFY(label != nullptr);
      QCOMPARE(label->property("index").toInt(), index);
      QVERIFY(label->wordWrap());
    }
  }

  void fontsAreTheRequestedOnes_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("family");
    QTest::addColumn<qreal>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("version in Arial 9.75 pt bold") << "lblVersion"
                                                   << "Arial" << 9.75 << true;
    QTest::newRow("credit line in Verdana 8.25 pt") << "lblAuthor"
                                                    << "Verdana" << 8.25 << false;
  }

  void fontsAreTheRequestedOnes() {
    QFETCH(QString, name);
    QFETCH(QString, family);
    QFETCH(qreal, pointSize);
    QFETCH(bool, bold);
    frmAbout window(shell_);
    const QFont font = control(&window, name)->font();
    QCOMPARE(font.family(), family);
    QCOMPARE(font.pointSizeF(), pointSize);
    QCOMPARE(font.bold(), bold);
  }

  void windowLooksAsDesigned() {
    frmAbout window(shell_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("About"));
    QCOMPARE(window.size(), QSize(415, 230));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!window.windowIcon().isNull());

    const QImage shot = window.grab().toImage();
    QCOMPARE(shot.pixelColor(QPoint(405, 60)), kBackground);  // right of the texts
    const QRect logo = control(&window, QStringLiteral("imgLogo"))->geometry();
    int logoPixels = 0;
    for (int y = logo.top(); y <= logo.bottom(); ++y) {
      for (int x = logo.left(); x <= logo.right(); ++x) {
        if (shot.pixelColor(x, y) != kBackground) ++logoPixels;
      }
    }
    QVERIFY2(logoPixels > logo.width() * logo.height() / 2, "the logo picture is not drawn");
  }

  void textIsNotClipped_data() {
    QTest::addColumn<QString>("desktopFontFamily");
    QTest::newRow("desktop font as it is") << QString();
    QTest::newRow("large monospaced desktop font") << QStringLiteral("DejaVu Sans Mono");
  }

  void textIsNotClipped() {
    QFETCH(QString, desktopFontFamily);
    if (!desktopFontFamily.isEmpty()) QApplication::setFont(QFont(desktopFontFamily, 16));
    frmAbout window(shell_);

    QList<QWidget*> placed;
    for (QLabel* label : window.findChildren<QLabel*>()) {
      const QRect box = label->geometry();
      const QByteArray name = label->objectName().toLatin1();
      QVERIFY2(window.rect().contains(box), name);
      placed.append(label);
      if (!label->toolTip().isEmpty()) {
        // Only an address from the build's configuration may be too long for its place: it is
        // then set at the smallest size, cut short on screen, and whole in the tooltip.
        QVERIFY2(name == "lblHomePage" || name == "lblEmail", name);
        QCOMPARE(label->toolTip(), label->text());
        QCOMPARE(label->font().pointSizeF(), corvane::about::kSmallestFittedPointSize);
        continue;
      }
      const QFontMetrics metrics(label->font());
      const QRect needed =
          label->wordWrap()
              ? metrics.boundingRect(QRect(0, 0, box.width(), 10000),
                                     Qt::AlignLeft | Qt::TextWordWrap, label->text())
              : QRect(0, 0, metrics.horizontalAdvance(label->text()), metrics.height());
      QVERIFY2(needed.width() <= box.width(), name);
      QVERIFY2(needed.height() <= box.height(), name);
    }
    placed.append(control(&window, QStringLiteral("imgLogo")));
    placed.append(control(&window, QStringLiteral("fraDiv1")));
    for (int first = 0; first < placed.size(); ++first) {
      for (int second = first + 1; second < placed.size(); ++second) {
        QVERIFY2(
            !placed[first]->geometry().intersects(placed[second]->geometry()),
            qPrintable(placed[first]->objectName() + " overlaps " + placed[second]->objectName()));
      }
    }
  }

  void homePageClickOpensTheLabelText_data() {
    QTest::addColumn<QString>("linkText");  // null: the address the window was built with
    QTest::newRow("address as built") << QString();
    QTest::newRow("address with query, blanks and parentheses")
        << QStringLiteral("https://example.org/maps?game=renegade&sort=new (all)");
  }

  void homePageClickOpensTheLabelText() {
    QFETCH(QString, linkText);
    frmAbout window(shell_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QLabel* link = control<QLabel>(&window, QStringLiteral("lblHomePage"));
    if (!linkText.isNull()) link->setText(linkText);

    QTest::mouseClick(link, Qt::LeftButton);

    QCOMPARE(openedTargets(), QStringList{link->text()});
  }

  void mailClickSendsAddressAndSubject_data() {
    QTest::addColumn<QString>("versionText");  // null: as Form_Load set it
    QTest::addColumn<QString>("address");      // null: the address the window was built with
    QTest::addColumn<QString>("expectedTarget");

    const QString builtAddress = QString::fromUtf8(corvane::program::kMailAddress);
    QTest::newRow("subject from the version Form_Load set")
        << QString() << QString()
        << "mailto:" + builtAddress + "?Subject=Rollcall (" + kVersionText + ")";
    QTest::newRow("subject follows a changed version text")
        << "Version 7.8.9" << QString()
        << "mailto:" + builtAddress + "?Subject=Rollcall (Version 7.8.9)";
    QTest::newRow("blanks and parentheses pass unchanged")
        << "Version 2.0 (test build)  two blanks" << QString()
        << "mailto:" + builtAddress + "?Subject=Rollcall (Version 2.0 (test build)  two blanks)";
    QTest::newRow("address right after mailto: with nothing between")
        << QString() << "first.last+corvane@example.org"
        << "mailto:first.last+corvane@example.org?Subject=Rollcall (" + kVersionText + ")";
  }

  void mailClickSendsAddressAndSubject() {
    QFETCH(QString, versionText);
    QFETCH(QString, address);
    QFETCH(QString, expectedTarget);
    frmAbout window(shell_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (!versionText.isNull()) control<QLabel>(&window, "lblVersion")->setText(versionText);
    QLabel* link = control<QLabel>(&window, QStringLiteral("lblEmail"));
    if (!address.isNull()) link->setText(address);

    QTest::mouseClick(link, Qt::LeftButton);

    QCOMPARE(openedTargets(), QStringList{expectedTarget});
  }

  void linksAnswerOnlyToActivation_data() {
    QTest::addColumn<LinkAction>("action");
    QTest::addColumn<int>("expectedRequests");
    QTest::newRow("left click") << LinkAction::LeftClick << 1;
    QTest::newRow("right click") << LinkAction::RightClick << 0;
    QTest::newRow("middle click") << LinkAction::MiddleClick << 0;
    QTest::newRow("pressed over, released outside") << LinkAction::PressOverReleaseOutside << 0;
    QTest::newRow("Return key") << LinkAction::ReturnKey << 1;
    QTest::newRow("keypad Enter key") << LinkAction::EnterKey << 1;
    QTest::newRow("Space key") << LinkAction::SpaceKey << 1;
    QTest::newRow("letter key") << LinkAction::LetterKey << 0;
  }

  void linksAnswerOnlyToActivation() {
    QFETCH(LinkAction, action);
    QFETCH(int, expectedRequests);
    frmAbout window(shell_);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const char* name : {"lblHomePage", "lblEmail"}) {
      shell_.openedTargets.clear();
      work(control(&window, QString::fromLatin1(name)), action);
      QVERIFY2(int(shell_.openedTargets.size()) == expectedRequests, name);
    }
  }

  void tabAndEnterReachBothLinks() {
    frmAbout window(shell_);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    for (int press = 0; press < 4; ++press) {
      QTest::keyClick(&window, Qt::Key_Tab);
      QWidget* focused = QApplication::focusWidget();
      QVERIFY(focused != nullptr);
      QTest::keyClick(focused, Qt::Key_Return);
    }
    const QStringList targets = openedTargets();
    QCOMPARE(targets.size(), 4);
    QVERIFY(targets.contains(QString::fromUtf8(corvane::program::kHomePage)));
    QVERIFY(targets.filter(QRegularExpression(QStringLiteral("^mailto:"))).size() == 2);
  }

  void opensCentredOnItsScreen() {
    frmAbout window(shell_);
    const QRect area = window.screen()->availableGeometry();
    QVERIFY((window.geometry().center() - area.center()).manhattanLength() <= 2);
  }

  void showSingleTwiceKeepsOneWindow() {
    frmAbout* first = frmAbout::showSingle(shell_);
    frmAbout* second = frmAbout::showSingle(shell_);
    QCOMPARE(second, first);
    QCOMPARE(openAboutWindows().size(), 1);
    QVERIFY(first->isVisible());
  }

  void showSingleBringsBackAMinimisedWindow() {
    frmAbout* window = frmAbout::showSingle(shell_);
    window->showMinimized();
    QCOMPARE(frmAbout::showSingle(shell_), window);
    QVERIFY(!(window->windowState() & Qt::WindowMinimized));
    QVERIFY(window->isVisible());
  }

  void showSingleWindowStandsOnItsOwn() {
    QWidget mainWindow;
    mainWindow.show();
    frmAbout* window = frmAbout::showSingle(shell_);
    QCOMPARE(window->parentWidget(), nullptr);
    QCOMPARE(window->windowModality(), Qt::NonModal);
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));

    mainWindow.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window->isVisible());
    QCOMPARE(openAboutWindows().size(), 1);
  }

  void showSingleAfterCloseBuildsANewWindow() {
    QPointer<frmAbout> first = frmAbout::showSingle(shell_);
    control<QLabel>(first, QStringLiteral("lblVersion"))->setText(QStringLiteral("changed"));

    QVERIFY(first->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(first.isNull(), "closing did not unload the window");

    frmAbout* second = frmAbout::showSingle(shell_);
    QVERIFY(second != nullptr);
    QVERIFY(second->isVisible());
    QCOMPARE(control<QLabel>(second, QStringLiteral("lblVersion"))->text(), kVersionText);
    QCOMPARE(openAboutWindows().size(), 1);
  }
};

QTEST_MAIN(TestAboutWindow)
#include "tst_frmAbout.moc"
