// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// frmSkirmish: the main window. It shows the practice rules and the map rotation of one settings
// file, and its handlers load, edit and save them. The controls keep the names the rest of the
// program and the tests use (also as their object names).
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <array>
#include <future>
#include <memory>

#include "AvailableMaps.h"
#include "Backdrop.h"
#include "CommonDialog.h"
#include "Desktop.h"
#include "GameReading.h"
#include "LinkLabel.h"
#include "MapFolderWatch.h"
#include "OptionButton.h"
#include "QuestionGate.h"
#include "SettingsFileWatch.h"
#include "SkirmishSettings.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {
class GameLookAhead;
class MapListView;
class NumericField;
class RegistryStore;
}  // namespace corvane

namespace corvane {
// The folder picker: opens at `startFolder` (a Windows drive root such as "C:\\" opens at the
// user's home folder; one trailing separator is dropped) titled `title` ("Please, Select a
// folder." when empty). Returns the chosen folder, or an empty text when the user cancels.
QString BrowseForFolder(Desktop& desktop, QWidget* parent, const QString& startFolder,
                        const QString& title);
}  // namespace corvane

class frmSkirmish : public QWidget {
  Q_OBJECT

 public:
  explicit frmSkirmish(corvane::Desktop& desktop, QWidget* parent = nullptr);
  ~frmSkirmish() override;

  // Window state, set only by start-up.
  QString InstallFolder;
  QString DataFolder;
  QString GameExePath;
  bool GameFound = false;

  // The controls.
  QLabel* Label6;
  corvane::MapListView* lstRenData;
  QPushButton* cmdAdd;
  QPushButton* cmdRemove;
  QLabel* Label8;
  QLabel* Label7;
  corvane::MapListView* lstMaps;
  QFrame* Frame1;
  QLabel* Label1;
  corvane::NumericField* txtTime;
  QLabel* Label2;
  corvane::NumericField* txtCredits;
  QLabel* Label3;
  std::array<corvane::OptionButton*, 3> optRadar;
  QCheckBox* chkRepair;
  QCheckBox* chkSpawn;
  QCheckBox* chkFriendly;
  QCheckBox* chkTeamChange;
  QCheckBox* chkDestruction;
  QCheckBox* chkBeacon;
  QPushButton* cmdUpdates;
  QPushButton* cmdAbout;
  QPushButton* cmdLoad;
  QPushButton* cmdSave;
  QPushButton* cmdSaveAs;
  QFrame* Line1;
  QFrame* Line2;
  QFrame* Line3;
  QLabel* Label5;
  corvane::widgets::LinkLabel* lblMapvault;
  QLineEdit* txtInstallPath;  // never shown
  corvane::MixFileList File1;
  corvane::CommonDialog comDLG;

  // Start-up: finds the game, locks or unlocks editing and loads the game's settings file.
  // Returns false when the user chose to end the program (the window must not be shown).
  bool Form_Load(corvane::RegistryStore& registry);
  // The same with the game looked for ahead (see GameLookAhead).
  bool Form_Load(corvane::GameLookAhead& lookAhead);

  // Enables (true) or disables (false) the sixteen editing controls.
  void EnableEditing(bool enabled);

  // Puts the settings of `fileName` into the controls and rebuilds both map lists, which are left
  // without a selection (Add and Remove disabled). Marks the controls and rotation entries whose
  // values the game reads otherwise from the file (gameReadingNotes()), each with its note as
  // tooltip, and takes the marks off the others.
  void LoadSettings(const QString& fileName);

  // Writes the controls, as they are when it is called, into `fileName`. When another program
  // changed that file since the window loaded or saved it, first asks whether to save over it
  // (No returns false). On failure shows a warning naming the file and the reason and returns
  // false; the file is then as it was. After a save the marks are those of the file as written.
  // Neither another program's change of the file nor of the Data folder is loaded meanwhile.
  bool SaveSettings(const QString& fileName);

  // The settings the controls show, as SaveSettings writes them.
  corvane::SkirmishSettings currentSettings() const;

  // True when what Save would write (currentSettings()) differs from what the window last loaded
  // or saved, or while a control or rotation entry is marked: the game reads the file otherwise
  // than the window shows it.
  bool hasUnsavedEdits() const;

  // The watch on the current settings file: when another program changes it and the window
  // holds no unsaved edits, the window loads it again, once no question, dialog or save is open.
  const corvane::SettingsFileWatch& fileWatch() const { return fileWatch_; }

  // The watch on the Data folder: when map files are copied in or deleted, Available Maps and the
  // reasons of the rotation's entries follow, keeping marks and selections (also with unsaved
  // edits, which it does not add to), once no question, dialog or save is open.
  const corvane::MapFolderWatch& folderWatch() const { return folderWatch_; }

  // The event handlers.
  void cmdAdd_Click();
  void cmdRemove_Click();
  void lstRenData_Click();
  void lstMaps_Click();
  void lstRenData_DblClick();
  void lstMaps_DblClick();
  void cmdLoad_Click();
  void cmdSave_Click();
  void cmdSaveAs_Click();
  void cmdUpdates_Click();
  void lblMapvault_Click();
  void cmdAbout_Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  // Follows the desktop's palette: the backdrop's shade and the colours over it.
  void changeEvent(QEvent* event) override;
  // Closes when askToSaveChanges() lets it.
  void closeEvent(QCloseEvent* event) override;

 private:
  void createControls();
  // Takes the backdrop's shade from the desktop's palette, and the colours of the text over it.
  void followDesktopShade();
  void setFocusOrder();
  void placeMapvaultLink();
  // True when every caption of the window fits its control at the current font.
  bool captionsFit() const;
  // The factor by which the one-line captions' text must shrink (below 1) for the widest to fit
  // its place, the controls' margins staying as they are; at most 1.
  qreal textScaleToFit() const;
  // The window's font at the largest size at which every caption fits (fitFontSize), in a face
  // that draws every letter at that size.
  void fitFont();
  void fitFontSize();
  void applySettings(const corvane::SkirmishSettings& settings);
  // Marks the controls and rotation entries by what the game reads from `file` against the
  // settings last loaded or saved.
  void showGameReading(const corvane::IniDocument& file);
  // With unsaved edits asks "Save changes to F?": Yes saves and returns whether the save worked,
  // No returns true, Cancel false. True without asking when there is nothing unsaved, and in a
  // locked window or one without a current file.
  bool askToSaveChanges();
  // Follows the map files of the Data folder as the folder watch last listed them.
  void dataFolderChanged();
  void showGuard(const QString& text);
  // Loads the current settings file again, keeping the selected entries of both lists where they
  // are still listed; not while the window holds unsaved edits, nor when the file holds again
  // what the window last loaded or saved.
  void reloadChangedFile();

  corvane::Desktop& plainDesktop_;  // for links and the About window
  corvane::QuestionGate gate_;
  corvane::GatedDesktop desktop_{plainDesktop_, gate_};  // for questions and dialogs
  corvane::SkirmishSettings baseline_;                   // as last loaded or saved
  corvane::GameReadingNotes notes_;
  corvane::SettingsFileWatch fileWatch_;
  corvane::MapFolderWatch folderWatch_;
  std::shared_future<QImage> backdropAhead_;  // until the first paint
  QPixmap backdrop_;                          // at the window's pixel ratio, shaded
  corvane::BackdropShade shade_ = corvane::BackdropShade::Light;
  std::unique_ptr<QLineEdit> installPathField_;  // txtInstallPath
};
