// The frame-rate text, kept apart from the timing so the timing needs no font.
#include "core/timing.h"
#include "graphics/text.h"

void FrameRateDisplay::draw() {
    // Truncated toward zero; a rate too large for an int is shown as the largest one.
    int shown = rate < 2147483647.0 ? (int)rate : 2147483647;
    if (!(rate > 0.0)) shown = 0;
    printText(520, 440, "FPS: %d", shown);
}
