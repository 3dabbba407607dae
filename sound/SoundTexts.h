#pragma once

#include "sound/Unit_Sound.h"

#include <QString>
#include <string>

// Texts for sound failures that the language pack has no entry for, in English.

// The wave device cannot record, or cannot play a part.
QString CannotRecordText(const TSoundDeviceFailure &failure);
QString CannotPlayText(const TSoundDeviceFailure &failure);
// A sound file could not be copied.
QString CannotCopySoundText(const std::string &fileName, const QString &reason);
// A word's sound record points beyond the sound store.
QString SoundOutsideStoreText();
