// The INI profile engine (being written).
#include "IniDocument.h"
