// Single-call INI profile access (being written).
#include "IniProfile.h"
