#include "platform/name_case.h"

bool namesIgnoreLetterCase() { return false; }
