// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The About window.
#include "frmAbout.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QScreen>
#include <algorithm>

#include "LinkLabel.h"
#include "Links.h"
#include "ProgramInfo.h"
#include "ProgramSize.h"
#include "SvgPicture.h"
#include "TextFitting.h"

using corvane::widgets::LinkLabel;
using corvane::widgets::SvgPicture;
using corvane::widgets::TextFlow;

namespace {

// The window is laid out in twips, fifteen to a pixel at 100 %.
constexpr int pixels(int twips) {
  return twips / 15;
}

constexpr QSize kClientSize(pixels(6225), pixels(3450));
constexpr qreal kWindowPointSize = 8.25;
// Text keeps this far from the window's right and bottom edges, and from a neighbour on its right.
constexpr int kRightEdge = kClientSize.width() - 4;
constexpr int kBottomEdge = kClientSize.height() - 4;
constexpr int kEmailColumn = pixels(4380);
constexpr int kHomePageColumnEnd = kEmailColumn - 8;

// The room of a one-line text from its top-left corner (in twips) to `rightEdge` (in pixels).
constexpr QRect oneLine(int leftTwips, int topTwips, int rightEdge) {
  return QRect(pixels(leftTwips), pixels(topTwips), rightEdge - pixels(leftTwips),
               kBottomEdge - pixels(topTwips));
}
constexpr QRect twipsBox(int leftTwips, int topTwips, int widthTwips, int heightTwips) {
  return QRect(pixels(leftTwips), pixels(topTwips), pixels(widthTwips), pixels(heightTwips));
}

constexpr QPoint kLogoPlace(pixels(120), pixels(120));
constexpr QRect kVersionPlace = oneLine(1110, 105, kRightEdge);
constexpr QRect kAuthorPlace = oneLine(1095, 540, kRightEdge);
constexpr QRect kDescriptionPlaces[2] = {twipsBox(1080, 900, 4935, 435),
                                         twipsBox(1080, 1740, 4935, 435)};
constexpr QRect kLanguagePlace(pixels(240), pixels(1320), pixels(495), kBottomEdge - pixels(1320));
constexpr QRect kQuestionPlace = oneLine(1560, 1440, kRightEdge);
constexpr QRect kHomepageTitlePlace = oneLine(1080, 2340, kHomePageColumnEnd);
constexpr QRect kEmailTitlePlace = oneLine(4380, 2370, kRightEdge);
constexpr QRect kHomePagePlace = oneLine(1080, 2610, kHomePageColumnEnd);
// The mail address may take two lines, down to the divider, which stands a little lower than
// the design's 2940 twips to leave room for them.
constexpr int kDividerTop = pixels(3000);
constexpr QRect kEmailPlace(pixels(4380), pixels(2610), kRightEdge - pixels(4380),
                            kDividerTop - pixels(2610));
constexpr QRect kDividerPlace(pixels(1080), kDividerTop, pixels(4995), pixels(75));
constexpr QRect kLinesOfCodePlace = oneLine(3420, 3120, kRightEdge);

const QColor kBackground(180, 195, 220);
const QColor kBlue(0, 0, 192);
const QColor kNavy(0, 0, 128);
const QColor kBlack(0, 0, 0);

// The rounded size of the program's code, for lblLinesOfCode: "About 4,800 lines of code".
QString linesOfCodeNote() {
  const int hundreds = std::max(1, (corvane::program::kSourceLines + 50) / 100);
  return QStringLiteral("About %1 lines of code")
      .arg(QLocale(QLocale::English).toString(hundreds * 100));
}

// Puts a one-line label at the top-left corner of `room`, as wide as its text but no wider than
// the room. With `fitFont`, its font is first set smaller when the text would not fit; a text
// that still does not fit is cut short on screen and shown whole in the tooltip.
void putOnOneLine(QLabel* label, const QRect& room, bool fitFont) {
  if (fitFont) {
    label->setFont(corvane::widgets::fontFittingBox(label->text(), label->font(), room.size(),
                                                    TextFlow::SingleLine));
  }
  const QSize wanted = label->sizeHint();
  label->setGeometry(QRect(room.topLeft(), QSize(std::min(wanted.width(), room.width()),
                                                 std::min(wanted.height(), room.height()))));
  label->setToolTip(wanted.width() > room.width() ? label->text() : QString());
}

// Puts a link at the top-left corner of `box`, as wide as the box and as tall as its text. Where
// one line is too short for the text, it wraps after the '@' of a mail address (or at a blank);
// only when the wrapped text does not fit either, its font is set smaller.
void putWrappedLink(LinkLabel* link, const QRect& box) {
  const QString shown = corvane::widgets::withAddressBreaks(link->text());
  const QFont font =
      corvane::widgets::fontFittingBox(shown, link->font(), box.size(), TextFlow::WrapWords);
  const QRect needed = QFontMetrics(font).boundingRect(
      QRect(QPoint(), box.size()), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, shown);
  link->setFont(font);
  link->setWordWrap(true);
  link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  link->setGeometry(
      QRect(box.topLeft(), QSize(box.width(), std::min(needed.height(), box.height()))));
  link->setToolTip(link->showsWholeText() ? QString() : link->text());
}

// Puts a word-wrapped label into `box`, its text from the box's top.
void putInBox(QLabel* label, const QRect& box) {
  label->setWordWrap(true);
  label->setAlignment((label->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
  label->setGeometry(box);
}

// Arial, as the design asks. Where it is missing, the desktop's font configuration offers its
// stand-in; the further names serve where it has none. The last resort is any sans-serif.
const QStringList kArialFamilies = {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                                    QStringLiteral("Arimo"), QStringLiteral("Helvetica")};

QFont requestedFont(const QStringList& families, qreal pointSize, bool bold) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  return font;
}

QPointer<frmAbout>& openAboutWindow() {
  static QPointer<frmAbout> window;
  return window;
}

}  // namespace

frmAbout::frmAbout(corvane::Shell& shell, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      shell_(shell) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("About"));
  setWindowIcon(corvane::widgets::iconFromSvg(QStringLiteral(":/about/window-icon.svg")));
  setFixedSize(kClientSize);

  // Fixed colours, so that a dark desktop theme does not put light text on the light background.
  QPalette colours = palette();
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    colours.setColor(role, kBlack);
  }
  colours.setColor(QPalette::Window, kBackground);
  colours.setColor(QPalette::Light, kBackground.lighter(130));
  colours.setColor(QPalette::Dark, kBackground.darker(160));
  setPalette(colours);
  setAutoFillBackground(true);

  createControls();
  layOutControls();
  Form_Load();
  centreOnScreen();
}

frmAbout* frmAbout::showSingle(corvane::Shell& shell) {
  QPointer<frmAbout>& window = openAboutWindow();
  if (window.isNull()) window = new frmAbout(shell);
  window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
  window->activateWindow();
  return window.data();
}

void frmAbout::Form_Load() {
  lblVersion_->setText(QStringLiteral("Version %1.%2.%3")
                           .arg(corvane::program::kVersionMajor)
                           .arg(corvane::program::kVersionMinor)
                           .arg(corvane::program::kVersionPatch));
  putOnOneLine(lblVersion_, kVersionPlace, true);
}

void frmAbout::lblHomePage_Click() {
  corvane::OpenURL(shell_, lblHomePage_->text().toStdString());
}

void frmAbout::lblEmail_Click() {
  const QString subject = QStringLiteral("Rollcall (") + lblVersion_->text() + QStringLiteral(")");
  corvane::OpenMailTo(shell_, lblEmail_->text().toStdString(), subject.toStdString());
}

void frmAbout::createControls() {
  imgLogo_ = new SvgPicture(QStringLiteral(":/about/logo.svg"), this);
  imgLogo_->setObjectName(QStringLiteral("imgLogo"));

  lblVersion_ = addLabel("lblVersion", QStringLiteral("Version"), kBlue);
  lblVersion_->setFont(requestedFont(kArialFamilies, 9.75, true));

  lblAuthor_ = addLabel("lblAuthor", QStringLiteral("Written by the Corvane developers"), kNavy);
  lblAuthor_->setFont(requestedFont({QStringLiteral("Verdana")}, 8.25, false));

  lblDescription_[0] = addLabel("lblDescription0",
                                QStringLiteral("Many more people are joining the Renegade "
                                               "community every day. Frequently, one of the first "
                                               "questions they ask is ;"),
                                kNavy);
  lblLanguage_ = addLabel("lblLanguage", QStringLiteral("Made with C++ and Qt"), kBlack);
  lblLanguage_->setAlignment(Qt::AlignHCenter);
  Label1_ = addLabel("Label1", QStringLiteral("\"How do i change the multiplayer practice map?\""),
                     kBlue);
  lblDescription_[1] = addLabel("lblDescription1",
                                QStringLiteral("This simple application makes it easy to change "
                                               "the gameplay settings of the practice mode and "
                                               "enables you to add your own maps."),
                                kNavy);
  for (int index = 0; index < 2; ++index) lblDescription_[index]->setProperty("index", index);

  lblHomepageTitle_ = addLabel("lblHomepageTitle", QStringLiteral("Homepage:"), kBlue);
  lblEmailTitle_ = addLabel("lblEmailTitle", QStringLiteral("Email:"), kBlue);

  lblHomePage_ = new LinkLabel(this);
  lblHomePage_->setObjectName(QStringLiteral("lblHomePage"));
  lblHomePage_->setText(QString::fromUtf8(corvane::program::kHomePage));
  lblHomePage_->setAccessibleDescription(QStringLiteral("Opens the home page in the web browser"));
  connect(lblHomePage_, &LinkLabel::clicked, this, &frmAbout::lblHomePage_Click);

  lblEmail_ = new LinkLabel(this);
  lblEmail_->setObjectName(QStringLiteral("lblEmail"));
  lblEmail_->setText(QString::fromUtf8(corvane::program::kMailAddress));
  lblEmail_->setAccessibleDescription(QStringLiteral("Starts a new mail message"));
  connect(lblEmail_, &LinkLabel::clicked, this, &frmAbout::lblEmail_Click);

  fraDiv1_ = new QFrame(this);
  fraDiv1_->setObjectName(QStringLiteral("fraDiv1"));
  fraDiv1_->setFrameShape(QFrame::HLine);
  fraDiv1_->setFrameShadow(QFrame::Sunken);

  lblLinesOfCode_ = addLabel("lblLinesOfCode", linesOfCodeNote(), kBlack);
}

QLabel* frmAbout::addLabel(const char* name, const QString& text, const QColor& colour) {
  auto* label = new QLabel(text, this);
  label->setObjectName(QString::fromLatin1(name));
  label->setTextFormat(Qt::PlainText);
  QPalette colours = label->palette();
  colours.setColor(QPalette::WindowText, colour);
  label->setPalette(colours);
  return label;
}

void frmAbout::layOutControls() {
  struct Place {
    QLabel* label;
    QRect room;
    TextFlow flow;
  };
  const Place windowFontPlaces[] = {
      {lblDescription_[0], kDescriptionPlaces[0], TextFlow::WrapWords},
      {lblLanguage_, kLanguagePlace, TextFlow::WrapWords},
      {Label1_, kQuestionPlace, TextFlow::SingleLine},
      {lblDescription_[1], kDescriptionPlaces[1], TextFlow::WrapWords},
      {lblHomepageTitle_, kHomepageTitlePlace, TextFlow::SingleLine},
      {lblEmailTitle_, kEmailTitlePlace, TextFlow::SingleLine},
      {lblLinesOfCode_, kLinesOfCodePlace, TextFlow::SingleLine},
  };
  // The layout has fixed places, so the window's own font is Arial or a font of its widths
  // rather than the desktop's font, which may run much wider.
  QFont windowFont = requestedFont(kArialFamilies, kWindowPointSize, false);
  qreal commonPointSize = kWindowPointSize;
  for (const Place& place : windowFontPlaces) {
    const QFont fitted = corvane::widgets::fontFittingBox(place.label->text(), windowFont,
                                                          place.room.size(), place.flow);
    commonPointSize = std::min(commonPointSize, fitted.pointSizeF());
  }
  windowFont.setPointSizeF(commonPointSize);
  setFont(windowFont);
  for (const Place& place : windowFontPlaces) {
    if (place.flow == TextFlow::WrapWords) {
      putInBox(place.label, place.room);
    } else {
      putOnOneLine(place.label, place.room, false);
    }
  }

  imgLogo_->move(kLogoPlace);
  putOnOneLine(lblVersion_, kVersionPlace, true);
  putOnOneLine(lblAuthor_, kAuthorPlace, true);
  // The addresses come from the build's configuration and may be long: each is set smaller on
  // its own rather than the whole window, and the mail address, in the narrower column, may wrap.
  // A link shows what it opens: the address is never cut short where it can be shown whole.
  putOnOneLine(lblHomePage_, kHomePagePlace, true);
  putWrappedLink(lblEmail_, kEmailPlace);
  fraDiv1_->setGeometry(kDividerPlace);
}

void frmAbout::centreOnScreen() {
  const QWidget* active = QApplication::activeWindow();
  const QScreen* screen = active != nullptr ? active->screen() : QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  move(area.center() - QPoint(width() / 2, height() / 2));
}
