#pragma once
// A small crossed-out loudspeaker in the bottom-right corner, shown while the sound is off, clear
// of the heads-up display's panels and of the title and results.
void drawSoundOffMark();
