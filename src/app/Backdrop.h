// SPDX-FileCopyrightText: 2026 The Corvane developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's backdrop in the shade that suits the desktop, and the colours of what the
// window draws straight onto it (captions, the note, its link, the captions of the options and
// check boxes, enabled and disabled): each reads at a contrast of at least 4.5:1 against every
// pixel of the shaded backdrop. Controls with a background of their own (lists, fields,
// buttons) keep the desktop's colours.
#pragma once

#include <QImage>
#include <QPalette>

namespace corvane {

enum class BackdropShade {
  Light,  // lifted toward white, under dark text: for a desktop with light windows
  Dark,   // darkened, under light text: for a desktop with dark windows
};

// The shade for a desktop whose palette is `desktop`: Dark when its windows are dark.
BackdropShade backdropShadeFor(const QPalette& desktop);

// Shades `image`, the backdrop as drawn from its picture (about 0.18 in relative luminance
// everywhere), in place.
void shadeBackdrop(QImage& image, BackdropShade shade);

// `palette` with the window text, link and disabled window text colours for text drawn on the
// backdrop in `shade`, in every colour group.
QPalette paletteOverBackdrop(QPalette palette, BackdropShade shade);

}  // namespace corvane
