#pragma once

#include <QColor>
#include <QPixmap>

// The 16 x 16 loudspeaker of a sound cell, in one colour on a transparent ground.
QPixmap SoundGlyph(const QColor &color);
