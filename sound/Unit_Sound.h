#pragma once

// Whether an MP3 input is open and whether it plays, kept by the player's users (the grid and
// the exercise window) and tested by every user of sound before it starts or stops anything.
extern bool Mp3InputOpen;
extern bool Mp3Playing;
