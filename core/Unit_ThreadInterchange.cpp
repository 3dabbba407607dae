#include "core/Unit_ThreadInterchange.h"

TWordList *CurrentList = nullptr;
bool LoadOk = false;
uint8_t LoadFormat = 0;
int32_t ImportIndex = 0;
int32_t ImportCount = 0;
bool SaveOk = false;
