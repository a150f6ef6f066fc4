// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: its controls, the editing lock, loading, saving and the rotation editing.
#include "frmSkirmish.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFontInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

#include "Accessibility.h"
#include "Backdrop.h"
#include "LinkLabel.h"
#include "Links.h"
#include "MapFollowing.h"
#include "MapListView.h"
#include "NumericField.h"
#include "OptionButton.h"
#include "ProgramInfo.h"
#include "ReadingMarks.h"
#include "SvgPicture.h"
#include "TextFitting.h"
#include "frmAbout.h"

using corvane::MapListView;
using corvane::NumericField;

namespace {

const QString kBackdrop = QStringLiteral(":/pictures/background.svg");

// What waits at the question gate.
enum GateKey { kReloadFile, kFollowFolder };

// The note under the settings; the link label covers its stretch of blanks.
const QString kMapvaultNote = QStringLiteral(
    "Note : All of the maps listed above will not have any AI enemies to fight against. You must "
    "download special AI versions of each map, you can do so by                       .");

// The pixel ratio of the screen `widget` is (or will be shown) on.
qreal screenScale(const QWidget* widget) {
  const QScreen* screen = widget->screen();
  return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

template <typename Widget>
Widget* named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* label = named(new QLabel(text, parent), name);
  label->setTextFormat(Qt::PlainText);
  label->setGeometry(geometry);
  return label;
}

QFrame* makeLine(QWidget* parent, const char* name, QFrame::Shape shape, QRect geometry) {
  auto* line = named(new QFrame(parent), name);
  line->setFrameShape(shape);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(geometry);
  return line;
}

QPushButton* makePictureButton(QWidget* parent, const char* name, const QString& words,
                               const QString& picture, QRect geometry) {
  const QSize iconSize(20, 20);
  const qreal scale = screenScale(parent);
  auto* button = named(
      new QPushButton(corvane::widgets::iconFromSvg(picture, {iconSize * scale}), words, parent),
      name);
  button->setIconSize(iconSize);
  button->setGeometry(geometry);
  return button;
}

}  // namespace

frmSkirmish::frmSkirmish(corvane::Desktop& desktop, QWidget* parent)
    : QWidget(parent), plainDesktop_(desktop) {
  corvane::widgets::installAccessibleInterfaces();
  setObjectName(QStringLiteral("frmSkirmish"));
  setWindowTitle(QStringLiteral(" Skirmish Setup - C&C Renegade"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(503, 490);
  // The backdrop covers the whole window (no background is painted beneath it); it is drawn on
  // another thread while the controls are made and the settings read.
  setAttribute(Qt::WA_OpaquePaintEvent);
  backdropAhead_ = corvane::widgets::drawSvgAhead(
      kBackdrop, (QSizeF(size()) * screenScale(this)).toSize(), QImage::Format_RGB32);
  followDesktopShade();
  createControls();
  fitFont();
  placeMapvaultLink();
  setFocusOrder();
  baseline_ = currentSettings();
}

frmSkirmish::~frmSkirmish() = default;

void frmSkirmish::createControls() {
  Label6 = makeLabel(this, "Label6", QStringLiteral("Available Maps :"), {12, 8, 170, 16});
  lstRenData = named(new MapListView(this), "lstRenData");
  lstRenData->setGeometry(12, 26, 170, 206);
  lstRenData->mapModel()->setUnplayableSelectable(false);

  cmdAdd = named(new QPushButton(QStringLiteral("&Add -->"), this), "cmdAdd");
  cmdAdd->setGeometry(192, 44, 118, 28);
  cmdAdd->setEnabled(false);
  cmdRemove = named(new QPushButton(QStringLiteral("<-- &Remove"), this), "cmdRemove");
  cmdRemove->setGeometry(192, 78, 118, 28);
  cmdRemove->setEnabled(false);
  Label8 = makeLabel(this, "Label8",
                     QStringLiteral("IMPORTANT : The map rotation will always begin with "
                                    "C&C_Under. Just win/lose the first game and your custom "
                                    "maps will be next."),
                     {192, 114, 118, 118});
  Label8->setWordWrap(true);
  Label8->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

  Label7 =
      makeLabel(this, "Label7", QStringLiteral("Multiplayer Practice Maps :"), {320, 8, 172, 16});
  lstMaps = named(new MapListView(this), "lstMaps");
  lstMaps->setGeometry(320, 26, 172, 206);
  lstMaps->setReorderable(true);
  lstMaps->mapModel()->setRowLimit(corvane::kPlayedRotationEntries, corvane::unplayedEntryReason());

  Frame1 = makeLine(this, "Frame1", QFrame::HLine, {12, 240, 480, 3});

  Label1 = makeLabel(this, "Label1", QStringLiteral("Time Limit (Minutes) :"), {12, 254, 110, 22});
  Label2 = makeLabel(this, "Label2", QStringLiteral("Starting Credits :"), {12, 282, 110, 22});

  Label3 = makeLabel(this, "Label3", QStringLiteral("Radar Mode :"), {12, 314, 170, 18});
  const std::array<QString, 3> radarCaptions = {QStringLiteral("No players are shown"),
                                                QStringLiteral("Only teammates are shown"),
                                                QStringLiteral("Everybody is shown")};
  // The options in a group that a screen reader names by the caption above them.
  auto* radarGroup = named(new corvane::widgets::Grouping(this), "grpRadar");
  radarGroup->setGeometry(14, 334, 166, 64);
  radarGroup->setAccessibleName(corvane::widgets::nameFromCaption(Label3->text()));
  for (int i = 0; i < 3; ++i) {
    optRadar[i] = new corvane::OptionButton(radarCaptions[i], radarGroup);
    optRadar[i]->setObjectName(QStringLiteral("optRadar%1").arg(i));
    optRadar[i]->setGeometry(0, 22 * i, 166, 20);
  }
  corvane::OptionButton::group({optRadar.begin(), optRadar.end()});
  optRadar[2]->setChecked(true);

  const auto makeCheck = [this](const char* name, const QString& caption, int row) {
    auto* box = named(new QCheckBox(caption, this), name);
    box->setGeometry(182, 254 + 24 * row, 182, 20);
    return box;
  };
  chkRepair = makeCheck("chkRepair", QStringLiteral("Can Repair Buildings"), 0);
  chkSpawn = makeCheck("chkSpawn", QStringLiteral("Spawn Weapons"), 1);
  chkFriendly = makeCheck("chkFriendly", QStringLiteral("Friendly Fire"), 2);
  chkTeamChange = makeCheck("chkTeamChange", QStringLiteral("Allow Team Changing"), 3);
  chkDestruction = makeCheck("chkDestruction", QStringLiteral("Base Destruction Ends Game"), 4);
  chkBeacon = makeCheck("chkBeacon", QStringLiteral("Beacon Placement Ends Game"), 5);

  cmdUpdates = makePictureButton(this, "cmdUpdates", QStringLiteral("Check For Updates"),
                                 QStringLiteral(":/pictures/updates.svg"), {370, 252, 124, 30});
  cmdAbout = makePictureButton(this, "cmdAbout", QStringLiteral("About ..."),
                               QStringLiteral(":/pictures/about.svg"), {370, 286, 124, 30});
  Line1 = makeLine(this, "Line1", QFrame::HLine, {366, 322, 137, 3});
  Line2 = makeLine(this, "Line2", QFrame::VLine, {365, 323, 3, 110});
  Line3 = makeLine(this, "Line3", QFrame::HLine, {366, 431, 137, 3});
  cmdLoad = makePictureButton(this, "cmdLoad", QStringLiteral("Load ..."),
                              QStringLiteral(":/pictures/load.svg"), {370, 328, 124, 30});
  cmdSave = makePictureButton(this, "cmdSave", QStringLiteral("Save"),
                              QStringLiteral(":/pictures/save.svg"), {370, 362, 124, 30});
  cmdSaveAs = makePictureButton(this, "cmdSaveAs", QStringLiteral("Save As ..."),
                                QStringLiteral(":/pictures/saveas.svg"), {370, 396, 124, 30});

  Label5 = makeLabel(this, "Label5", kMapvaultNote, {12, 440, 480, 44});
  Label5->setWordWrap(true);
  lblMapvault = named(new corvane::widgets::LinkLabel(this), "lblMapvault");
  lblMapvault->setText(QStringLiteral("clicking here"));
  lblMapvault->setFocusPolicy(Qt::NoFocus);  // the mouse's and a screen reader's, not a Tab stop
  lblMapvault->setForegroundRole(QPalette::Link);
  QFont linkFont = lblMapvault->font();
  linkFont.setUnderline(true);
  lblMapvault->setFont(linkFont);

  // The text fields last: a text field lays out its text at once, and the first text laid out
  // waits for the system's fonts, which are read on another thread meanwhile.
  txtTime = named(new NumericField(QStringLiteral("300"), 3, this), "txtTime");
  txtTime->setGeometry(124, 254, 38, 22);
  txtCredits = named(new NumericField(QStringLiteral("10000"), 5, this), "txtCredits");
  txtCredits->setGeometry(124, 282, 50, 22);
  // Never shown, so not a child: a screen reader would list it as an unnamed field.
  installPathField_ = std::make_unique<QLineEdit>();
  txtInstallPath = named(installPathField_.get(), "txtInstallPath");

  // Each list and field is named by its caption.
  const std::array<std::pair<QLabel*, QWidget*>, 4> captioned = {
      std::pair{Label6, static_cast<QWidget*>(lstRenData)}, std::pair{Label7, lstMaps},
      std::pair{Label1, txtTime}, std::pair{Label2, txtCredits}};
  for (const auto& [caption, control] : captioned) {
    caption->setBuddy(control);
    control->setAccessibleName(corvane::widgets::nameFromCaption(caption->text()));
  }

  connect(cmdAdd, &QPushButton::clicked, this, &frmSkirmish::cmdAdd_Click);
  connect(cmdRemove, &QPushButton::clicked, this, &frmSkirmish::cmdRemove_Click);
  connect(lstRenData->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &frmSkirmish::lstRenData_Click);
  connect(lstMaps->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &frmSkirmish::lstMaps_Click);
  connect(lstRenData, &MapListView::listDoubleClicked, this, &frmSkirmish::lstRenData_DblClick);
  connect(lstMaps, &MapListView::listDoubleClicked, this, &frmSkirmish::lstMaps_DblClick);
  connect(cmdLoad, &QPushButton::clicked, this, &frmSkirmish::cmdLoad_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmSkirmish::cmdSave_Click);
  connect(cmdSaveAs, &QPushButton::clicked, this, &frmSkirmish::cmdSaveAs_Click);
  connect(cmdUpdates, &QPushButton::clicked, this, &frmSkirmish::cmdUpdates_Click);
  connect(cmdAbout, &QPushButton::clicked, this, &frmSkirmish::cmdAbout_Click);
  connect(lblMapvault, &corvane::widgets::LinkLabel::clicked, this,
          &frmSkirmish::lblMapvault_Click);
  // Changes on disk are taken in once the player has answered every open question.
  connect(&fileWatch_, &corvane::SettingsFileWatch::changed, this,
          [this] { gate_.whenFree(kReloadFile, [this] { reloadChangedFile(); }); });
  connect(&folderWatch_, &corvane::MapFolderWatch::changed, this,
          [this] { gate_.whenFree(kFollowFolder, [this] { dataFolderChanged(); }); });
}

void frmSkirmish::setFocusOrder() {
  const QList<QWidget*> order = {txtTime,        chkRepair, chkSpawn,   chkFriendly, chkTeamChange,
                                 chkDestruction, chkBeacon, txtCredits, optRadar[0], optRadar[1],
                                 optRadar[2],    lstMaps,   cmdAdd,     cmdRemove,   cmdSaveAs,
                                 lstRenData,     cmdLoad,   cmdAbout,   cmdUpdates,  cmdSave};
  for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

bool frmSkirmish::captionsFit() const {
  for (const QAbstractButton* button : findChildren<QAbstractButton*>()) {
    if (button->sizeHint().width() > button->width()) return false;
  }
  for (const QLabel* label : findChildren<QLabel*>()) {
    if (label == lblMapvault) continue;  // placed afterwards, at its own size
    const bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                        : label->sizeHint().width() <= label->width();
    if (!fits) return false;
  }
  return true;
}

qreal frmSkirmish::textScaleToFit() const {
  qreal scale = 1.0;
  // A one-line caption's control asks for its text's width and fixed margins (and a button its
  // icon, a box its indicator): only the text scales with the font.
  const auto take = [&scale](const QWidget* control, int textWidth) {
    const int fixed = control->sizeHint().width() - textWidth;
    if (textWidth > 0) scale = std::min(scale, qreal(control->width() - fixed) / textWidth);
  };
  for (const QAbstractButton* button : findChildren<QAbstractButton*>()) {
    take(button, button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width());
  }
  for (const QLabel* label : findChildren<QLabel*>()) {
    if (label != lblMapvault && !label->wordWrap()) {
      take(label, label->fontMetrics().horizontalAdvance(label->text()));
    }
  }
  return scale;
}

void frmSkirmish::fitFont() {
  fitFontSize();
  // A face drawn without its thin letters at the fitted size (Wine's own Tahoma at 9 and 10
  // pixels) gives way to the first sans-serif face that draws them, fitted in turn.
  if (corvane::widgets::drawsThinLetters(font())) return;
  for (const QString& family : corvane::widgets::sansSerifFamilies()) {
    QFont candidate = font();
    candidate.setFamily(family);
    if (QFontInfo(candidate).family() != family || !corvane::widgets::drawsThinLetters(candidate)) {
      continue;
    }
    setFont(candidate);
    fitFontSize();
    return;
  }
}

void frmSkirmish::fitFontSize() {
  // The window has a fixed size and fixed places; where the desktop's font runs wider than
  // they allow, the window's text is set to the largest size, in quarter points below the
  // desktop's, at which every caption fits (6 points at the least).
  if (captionsFit()) return;
  QFont windowFont = font();
  const qreal size = windowFont.pointSizeF();
  constexpr qreal kStep = 0.25;
  constexpr qreal kSmallest = 6.0;
  const auto fitsAt = [&](qreal points) {
    windowFont.setPointSizeF(points);
    setFont(windowFont);
    return captionsFit();
  };
  // Text grows about in step with the point size, so the size that shrinks the widest caption's
  // text to the room its place leaves is about the largest that fits (fonts are drawn at whole
  // pixel sizes, so not exactly). Start there: down until the captions fit, or, when they fit
  // at once, up while they still fit.
  const qreal estimate = size * textScaleToFit();
  qreal tried = std::max(kSmallest,
                         size - kStep * std::max(1.0, std::ceil((size - estimate) / kStep - 1e-9)));
  if (fitsAt(tried)) {
    while (tried + kStep < size && fitsAt(tried + kStep)) tried += kStep;
    if (windowFont.pointSizeF() != tried) fitsAt(tried);
    return;
  }
  while (tried - kStep >= kSmallest && !fitsAt(tried - kStep)) tried -= kStep;
}

void frmSkirmish::placeMapvaultLink() {
  // The link covers the note's run of blanks before its full stop. Fonts differ between
  // desktops, so find a width of the note at which that run stays on one line with room for
  // the link, then lay the link over it.
  const int blanks = static_cast<int>(kMapvaultNote.indexOf(QStringLiteral("  ")));
  const int stop = static_cast<int>(kMapvaultNote.size()) - 1;
  const int linkWidth = lblMapvault->sizeHint().width();
  const QRect area = Label5->geometry();
  for (int width = area.width(); width >= area.width() * 2 / 3; width -= 4) {
    QTextLayout layout(kMapvaultNote, Label5->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(width);
      line.setPosition(QPointF(0, height));
      height += line.height();
    }
    layout.endLayout();
    const QTextLine line = layout.lineForTextPosition(blanks);
    const qreal from = line.cursorToX(blanks);
    if (layout.lineForTextPosition(stop).lineNumber() != line.lineNumber() ||
        line.cursorToX(stop) - from < linkWidth || height > area.height()) {
      continue;
    }
    Label5->setFixedWidth(width);
    // The label centres its block of lines vertically.
    const int top = area.top() + (area.height() - static_cast<int>(height)) / 2;
    // The link covers the whole run of blanks, its words centred in it.
    const int blanksWidth = static_cast<int>(line.cursorToX(stop) - from);
    lblMapvault->setAlignment(Qt::AlignCenter);
    lblMapvault->setGeometry(area.left() + static_cast<int>(from), top + static_cast<int>(line.y()),
                             blanksWidth, static_cast<int>(line.height()));
    break;
  }
  lblMapvault->raise();
}

void frmSkirmish::paintEvent(QPaintEvent* event) {
  QWidget::paintEvent(event);
  const qreal scale = devicePixelRatioF();
  if (backdrop_.isNull() || backdrop_.devicePixelRatioF() != scale) {
    QImage drawn = backdropAhead_.valid() ? backdropAhead_.get() : QImage();
    backdropAhead_ = {};
    const QSize pixels = (QSizeF(size()) * scale).toSize();
    if (drawn.size() != pixels) {
      drawn = corvane::widgets::drawSvg(kBackdrop, pixels, QImage::Format_RGB32);
    }
    corvane::shadeBackdrop(drawn, shade_);
    backdrop_ = QPixmap::fromImage(std::move(drawn));
    backdrop_.setDevicePixelRatio(scale);
  }
  QPainter painter(this);
  if (backdrop_.isNull()) {
    painter.fillRect(rect(), palette().window());
  } else {
    painter.drawPixmap(rect(), backdrop_);
  }
}

void frmSkirmish::followDesktopShade() {
  shade_ = corvane::backdropShadeFor(QApplication::palette());
  setPalette(corvane::paletteOverBackdrop(QApplication::palette(), shade_));
}

void frmSkirmish::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::ApplicationPaletteChange) {
    const corvane::BackdropShade before = shade_;
    followDesktopShade();
    if (shade_ != before) {
      backdrop_ = {};  // drawn again, in the new shade, at the next paint
      update();
    }
  }
}

void frmSkirmish::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  // Centre the window on its screen, and start with the first enabled control of the focus order.
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
  if (!focusWidget() || !focusWidget()->isEnabled()) {
    for (QWidget* w = txtTime; w; w = w->nextInFocusChain()) {
      if (w->isEnabled() && w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) {
        w->setFocus(Qt::TabFocusReason);
        if (auto* field = qobject_cast<QLineEdit*>(w)) field->selectAll();  // as Tab would
        break;
      }
      if (w->nextInFocusChain() == txtTime) break;
    }
  }
}

void frmSkirmish::closeEvent(QCloseEvent* event) {
  if (!askToSaveChanges()) event->ignore();
}

bool frmSkirmish::askToSaveChanges() {
  if (!hasUnsavedEdits() || !cmdSave->isEnabled() || comDLG.FileName.isEmpty()) return true;
  const auto answer = desktop_.message(
      this, QMessageBox::Question, QStringLiteral("Save"),
      QStringLiteral("Save changes to %1?").arg(QDir::toNativeSeparators(comDLG.FileName)),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (answer == QMessageBox::No) return true;
  return answer == QMessageBox::Yes && SaveSettings(comDLG.FileName);
}

void frmSkirmish::EnableEditing(bool enabled) {
  const QList<QWidget*> controls = {lstRenData,  lstMaps,       cmdLoad,        cmdSave,
                                    cmdSaveAs,   optRadar[0],   optRadar[1],    optRadar[2],
                                    txtTime,     txtCredits,    chkRepair,      chkSpawn,
                                    chkFriendly, chkTeamChange, chkDestruction, chkBeacon};
  for (QWidget* control : controls) control->setEnabled(enabled);
}

void frmSkirmish::applySettings(const corvane::SkirmishSettings& settings) {
  txtTime->setText(settings.timeLimitMinutes);
  txtCredits->setText(settings.startingCredits);
  if (settings.radarMode >= 0 && settings.radarMode <= 2) {
    optRadar[settings.radarMode]->setChecked(true);
  }
  chkTeamChange->setChecked(settings.teamChangingAllowed);
  chkDestruction->setChecked(settings.baseDestructionEndsGame);
  chkBeacon->setChecked(settings.beaconPlacementEndsGame);
  chkRepair->setChecked(settings.canRepairBuildings);
  chkSpawn->setChecked(settings.spawnWeapons);
  chkFriendly->setChecked(settings.friendlyFirePermitted);
}

void frmSkirmish::LoadSettings(const QString& fileName) {
  lstRenData->mapModel()->clear();
  lstMaps->mapModel()->clear();
  const corvane::IniDocument file = corvane::IniDocument::load(corvane::localPath(fileName));
  const corvane::SkirmishSettings settings = corvane::readSkirmishSettings(file);
  applySettings(settings);

  // The available maps that stand in the rotation are marked (exact names, letter case included).
  corvane::AvailableList available =
      corvane::availableMapsAfter(File1.entries(), {}, {}, settings.rotation);
  lstRenData->mapModel()->setEntries(std::move(available.entries), std::move(available.reasons));
  lstMaps->mapModel()->setEntries(settings.rotation,
                                  corvane::rotationReasons(settings.rotation, File1.entries()));
  // Refilled lists have no selection, and a list's reset does not say that its selection went:
  // Add and Remove follow here.
  lstMaps_Click();
  lstRenData_Click();
  fileWatch_.watch(fileName, settings, file.stamp());
  baseline_ = currentSettings();
  showGameReading(file);
}

void frmSkirmish::showGameReading(const corvane::IniDocument& file) {
  notes_ = corvane::gameReadingNotes(file, baseline_);
  const std::array<std::pair<const char*, QWidget*>, 9> controls = {{
      {"TimeLimitMinutes", txtTime},
      {"StartingCredits", txtCredits},
      {"RadarMode", optRadar[0]->parentWidget()},
      {"IsTeamChangingAllowed", chkTeamChange},
      {"BaseDestructionEndsGame", chkDestruction},
      {"BeaconPlacementEndsGame", chkBeacon},
      {"CanRepairBuildings", chkRepair},
      {"SpawnWeapons", chkSpawn},
      {"IsFriendlyFirePermitted", chkFriendly},
  }};
  for (const auto& [key, control] : controls) {
    corvane::markControl(control, notes_.rules.value(QString::fromLatin1(key)));
  }
  lstMaps->mapModel()->setNotes(notes_.rotation);
}

bool frmSkirmish::hasUnsavedEdits() const {
  return currentSettings() != baseline_ || notes_.any();
}

void frmSkirmish::dataFolderChanged() {
  File1.setPath(DataFolder, folderWatch_.listed());
  corvane::followMapFiles(*lstRenData, *lstMaps, File1.entries());
  lstRenData_Click();  // a selected file may have gone; the rotation's selection stays
}

void frmSkirmish::reloadChangedFile() {
  // The file may have changed back, or been saved over, while the reload waited.
  if (hasUnsavedEdits() || !fileWatch_.isWatched(comDLG.FileName) || !fileWatch_.changedOnDisk()) {
    return;
  }
  const QStringList available = lstRenData->mapModel()->entries();
  const QList<int> availableSelected = lstRenData->selectedRows();
  const QStringList rotation = lstMaps->mapModel()->entries();
  const QList<int> rotationSelected = lstMaps->selectedRows();
  LoadSettings(comDLG.FileName);
  lstRenData->selectRows(
      corvane::sameEntryRows(available, availableSelected, lstRenData->mapModel()->entries()));
  lstMaps->selectRows(
      corvane::sameEntryRows(rotation, rotationSelected, lstMaps->mapModel()->entries()));
}

corvane::SkirmishSettings frmSkirmish::currentSettings() const {
  corvane::SkirmishSettings settings;
  settings.timeLimitMinutes = txtTime->text();
  settings.startingCredits = txtCredits->text();
  settings.radarMode = corvane::SkirmishSettings::kNoRadarMode;
  for (int i = 0; i < 3; ++i) {
    if (optRadar[i]->isChecked()) settings.radarMode = i;
  }
  settings.teamChangingAllowed = chkTeamChange->isChecked();
  settings.baseDestructionEndsGame = chkDestruction->isChecked();
  settings.beaconPlacementEndsGame = chkBeacon->isChecked();
  settings.canRepairBuildings = chkRepair->isChecked();
  settings.spawnWeapons = chkSpawn->isChecked();
  settings.friendlyFirePermitted = chkFriendly->isChecked();
  settings.rotation = lstMaps->mapModel()->entries();
  return settings;
}

bool frmSkirmish::SaveSettings(const QString& fileName) {
  const corvane::QuestionGate::Hold saving(gate_);
  const corvane::SkirmishSettings shown = currentSettings();
  // A file that another program changed since the window read it is saved over only when the
  // player says so.
  const bool watched = fileWatch_.isWatched(fileName);
  const auto proceed = [&](const corvane::IniDocument& onDisk) {
    return !watched || !fileWatch_.differs(onDisk) ||
           desktop_.message(this, QMessageBox::Question, QStringLiteral("Save"),
                            QStringLiteral("Another program changed %1 after Corvane read it.\n\n"
                                           "Save over the other program's changes?")
                                .arg(QDir::toNativeSeparators(fileName)),
                            QMessageBox::Yes | QMessageBox::No,
                            QMessageBox::No) == QMessageBox::Yes;
  };
  const corvane::SaveOutcome saved = corvane::saveSkirmishSettings(fileName, shown, proceed);
  if (saved.stopped) return false;
  const corvane::FileStatus& status = saved.status;
  if (status.ok) {
    baseline_ = shown;
    // What the file now holds, so that this save is not taken for another program's change.
    fileWatch_.watch(fileName, saved.written, saved.stamp);
    showGameReading(saved.document);
    return true;
  }
  desktop_.message(
      this, QMessageBox::Warning, QStringLiteral("Corvane"),
      QStringLiteral("The settings could not be saved to\n%1\n\n%2\n\n"
                     "The file was not changed.")
          .arg(QDir::toNativeSeparators(fileName), QString::fromStdString(status.error)),
      QMessageBox::Ok, QMessageBox::Ok);
  return false;
}

void frmSkirmish::showGuard(const QString& text) {
  desktop_.message(this, QMessageBox::Warning, QStringLiteral("Error"), text, QMessageBox::Ok,
                   QMessageBox::Ok);
}

void frmSkirmish::cmdAdd_Click() {
  const QStringList& available = lstRenData->mapModel()->entries();
  const QList<int> rows = corvane::addableRows(available, lstRenData->mapModel()->reasons(),
                                               lstRenData->selectedRows());
  QStringList names;
  names.reserve(rows.size());
  for (const int row : rows) names.append(available[row]);
  lstMaps->mapModel()->append(names);
  lstRenData->mapModel()->changeTexts(
      rows, [](const QString& name) { return corvane::RotationMark + name; });
}

void frmSkirmish::cmdRemove_Click() {
  const QList<int> selected = lstMaps->selectedRows();
  const QStringList& rotation = lstMaps->mapModel()->entries();
  QStringList removed;
  removed.reserve(selected.size());
  for (const int row : selected) removed.append(rotation[row]);

  // Every marked available entry of a removed map loses its mark, even when another copy of
  // the map stays in the rotation.
  const corvane::MapListModel* available = lstRenData->mapModel();
  lstRenData->mapModel()->changeTexts(
      corvane::rowsToUnmark(available->entries(), available->reasons(), removed),
      corvane::entryName);
  lstMaps->mapModel()->removeRowList(selected);
  lstRenData_Click();
  lstMaps_Click();
}

void frmSkirmish::lstRenData_Click() {
  cmdAdd->setEnabled(lstRenData->selectionModel()->hasSelection());
}

void frmSkirmish::lstMaps_Click() {
  cmdRemove->setEnabled(lstMaps->selectionModel()->hasSelection());
}

void frmSkirmish::lstRenData_DblClick() {
  cmdAdd_Click();
}

void frmSkirmish::lstMaps_DblClick() {
  cmdRemove_Click();
}

void frmSkirmish::cmdLoad_Click() {
  comDLG.DialogTitle = QStringLiteral("Load Settings");
  if (!GameFound) {
    showGuard(QStringLiteral("You cannot load - Renegade is not installed."));
    return;
  }
  if (!askToSaveChanges()) return;
  comDLG.InitDir = DataFolder;
  const QString chosen = comDLG.ShowOpen(desktop_, this, comDLG.proposedFile(DataFolder));
  if (chosen.isEmpty()) return;  // cancelled: the current settings file stays
  comDLG.FileName = chosen;
  LoadSettings(chosen);
}

void frmSkirmish::cmdSave_Click() {
  const QString file = comDLG.FileName;
  if (file.isEmpty()) {
    cmdSaveAs_Click();
    return;
  }
  // A file that another program changed gets SaveSettings' question, which says so, instead.
  if (!fileWatch_.isWatched(file) || !fileWatch_.changedOnDisk()) {
    const auto answer =
        desktop_.message(this, QMessageBox::Question, QStringLiteral("Save"),
                         QStringLiteral("Save settings to %1?").arg(QDir::toNativeSeparators(file)),
                         QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) return;
  }
  SaveSettings(file);
}

void frmSkirmish::cmdSaveAs_Click() {
  comDLG.DialogTitle = QStringLiteral("Save Settings");
  if (!GameFound) {
    showGuard(QStringLiteral("You cannot save - Renegade is not installed."));
    return;
  }
  comDLG.InitDir = DataFolder;
  const QString chosen = comDLG.ShowSave(desktop_, this, comDLG.proposedFile(DataFolder));
  if (chosen.isEmpty()) return;  // cancelled: nothing is written, the current file stays
  // The chosen file becomes the current settings file once it holds the settings.
  if (SaveSettings(chosen)) comDLG.FileName = chosen;
}

void frmSkirmish::cmdUpdates_Click() {
  corvane::OpenURL(plainDesktop_, corvane::program::kUpdatesPage);
}

void frmSkirmish::lblMapvault_Click() {
  corvane::OpenURL(plainDesktop_, corvane::program::kAiMapsPage);
}

void frmSkirmish::cmdAbout_Click() {
  frmAbout::showSingle(plainDesktop_);
}
