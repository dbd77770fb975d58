#include "race/view.h"

bool viewsSideBySide(const Drawable& d) {
    // Integer cross-multiplication: exactly 4:3 stacks, as the plain picture does.
    return (long long)d.width * 3 > (long long)d.height * 4;
}

int layOutViews(const Drawable& d, int count, ViewRect out[2]) {
    if (count != 2) {
        out[0] = {0, 0, d.width, d.height};
        return 1;
    }
    // The window's clear shows between the two as a black seam.
    if (viewsSideBySide(d)) {
        int left = d.width / 2 - viewSeamPixels / 2;
        out[0] = {0, 0, left, d.height};
        out[1] = {left + viewSeamPixels, 0, d.width - left - viewSeamPixels, d.height};
    } else {
        // Player one on top: y runs upward, so the top view starts above the lower one and the seam.
        int lower = d.height / 2 - viewSeamPixels / 2;
        out[0] = {0, lower + viewSeamPixels, d.width, d.height - lower - viewSeamPixels};
        out[1] = {0, 0, d.width, lower};
    }
    return 2;
}

float viewUnits(int pixels, const Drawable& d) { return d.scale > 0.0f ? (float)pixels / d.scale : (float)pixels; }

ViewCuePanel viewCuePanel(float width, float height, int textWidth) {
    ViewCuePanel p;
    // A narrow view trims the room round the text before the text runs out of the view.
    float padding = ((width - 2 * viewHudMargin) - (float)textWidth) / 2;
    if (padding > viewCuePadding) padding = viewCuePadding;
    if (padding < 0) padding = 0;
    float panelWidth = (float)textWidth + 2 * padding;
    p.bottom = height / 2 - viewCueBelowCentre;
    if (p.bottom < viewHudMargin) p.bottom = viewHudMargin;
    p.left = (width - panelWidth) / 2;
    // Level with the speed panel and over it: beside it when the view has the room, else above it.
    if (p.bottom < viewSpeedPanelTop + viewHudMargin && p.left < viewSpeedPanelRight + viewHudMargin) {
        if (viewSpeedPanelRight + viewHudMargin + panelWidth <= width - viewHudMargin)
            p.left = viewSpeedPanelRight + viewHudMargin;
        else
            p.bottom = viewSpeedPanelTop + viewHudMargin;
    }
    if (p.left + panelWidth > width - viewHudMargin) p.left = width - viewHudMargin - panelWidth;
    if (p.left < viewHudMargin) p.left = viewHudMargin;
    p.right = p.left + panelWidth;
    p.top = p.bottom + viewCueHeight;
    p.textLeft = p.left + padding;
    return p;
}
