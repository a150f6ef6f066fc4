// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Following the Data folder's map files.
#include "MapFollowing.h"

#include <QScrollBar>

#include "AvailableMaps.h"
#include "MapListView.h"

namespace corvane {

void followMapFiles(MapListView& available, MapListView& rotation, const QStringList& files) {
  MapListModel* list = available.mapModel();
  const QStringList before = list->entries();
  const QList<int> selected = available.selectedRows();
  const int scrolled = available.verticalScrollBar()->value();
  AvailableList after =
      availableMapsAfter(files, before, list->reasons(), rotation.mapModel()->entries());
  const QList<int> reselected = sameEntryRows(before, selected, after.entries);
  list->setEntries(std::move(after.entries), std::move(after.reasons));
  available.selectRows(reselected);
  available.verticalScrollBar()->setValue(scrolled);
  rotation.mapModel()->setReasons(rotationReasons(rotation.mapModel()->entries(), files));
}

}  // namespace corvane
