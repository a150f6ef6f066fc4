// What every Corvane process sets on its QApplication before the window: its name, its desktop
// entry and its icon. Shared by main.cpp and the start-up benchmark so both start alike.
#pragma once

namespace corvane {

// Call once, right after the QApplication is constructed.
void setUpApplication();

}  // namespace corvane
