// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The two map lists following the map files of the Data folder.
#pragma once

#include <QStringList>

namespace corvane {

class MapListView;

// After the Data folder's map files became `files`: Available Maps (`available`) lists them
// anew (availableMapsAfter(): each file keeps its mark, a new one is marked when the rotation
// names it), with the entries that were selected and are still listed selected, scrolled where
// it was; the rotation (`rotation`) keeps its entries, their order and its selection, and its
// entries' reasons follow the new files (rotationReasons()). Nothing else changes.
void followMapFiles(MapListView& available, MapListView& rotation, const QStringList& files);

}  // namespace corvane
