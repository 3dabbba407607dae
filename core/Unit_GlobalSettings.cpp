#include "core/Unit_GlobalSettings.h"

const char *const DefaultKeyPrints = "`1234567890-=QWERTYUIOP[]ASDFGHJKL;'ZXCVBNM,./\\";
const char *const DefaultForeignCharacters
        = "\xE0\xE1\xE2\xE4\xE3\xE5|\xE8\xE9\xEA\xEB|\xEC\xED\xEE\xEF|\xF2\xF3\xF4\xF6\xF5\xF8|"
          "\xF9\xFA\xFB\xFC|\xE7\xF1\xDF";

TEditOptions EditOptions;
TExerciseOptions ExerciseOptions;
TOtherOptions OtherOptions;
std::string PartsOfSpeech;
std::string MRUList;
std::string MRUOpen;
std::string MRUSave;
std::array<TFormPlacement, 3> FormPlacements;
TColumnSettings ColumnSettings;
TPrintSettings PrintSettings;
std::string KeyPrints = DefaultKeyPrints;
std::string ForeignCharacters = DefaultForeignCharacters;
std::string Language;
