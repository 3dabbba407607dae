#include "sound/Unit_Sound.h"

bool Mp3InputOpen = false;
bool Mp3Playing = false;
