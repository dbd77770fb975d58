// Where two players' views lie on windows of every shape: side by side only when wider than the
// picture's 4:3, with a seam between them, and nothing lost or overlapping.
#include <gtest/gtest.h>

#include "race/view.h"

TEST(ViewLayout, TwoViewsSplitTheWindowByItsShape) {
    struct Case {
        int width, height, count;
        bool side;
        ViewRect first, second;  // player one's, player two's
    } cases[] = {
        {640, 480, 2, false, {0, 241, 640, 239}, {0, 0, 640, 239}},        // exactly 4:3 stacks
        {1280, 960, 2, false, {0, 481, 1280, 479}, {0, 0, 1280, 479}},
        {1280, 720, 2, true, {0, 0, 639, 720}, {641, 0, 639, 720}},        // 16:9
        {641, 480, 2, true, {0, 0, 319, 480}, {321, 0, 320, 480}},         // just wider, odd width
        {480, 640, 2, false, {0, 321, 480, 319}, {0, 0, 480, 319}},        // portrait
        {640, 480, 1, false, {0, 0, 640, 480}, {0, 0, 0, 0}},              // one player: the whole
    };
    for (const Case& c : cases) {
        Drawable d;
        d.width = c.width;
        d.height = c.height;
        ViewRect r[2] = {};
        int n = layOutViews(d, c.count, r);
        printf("%dx%d, %d: side by side %d; %d,%d %dx%d and %d,%d %dx%d\n", c.width, c.height, c.count,
               viewsSideBySide(d), r[0].x, r[0].y, r[0].width, r[0].height, r[1].x, r[1].y, r[1].width, r[1].height);
        EXPECT_EQ(n, c.count);
        if (c.count == 2) {
            EXPECT_EQ(viewsSideBySide(d), c.side);
        }
        const ViewRect* want[2] = {&c.first, &c.second};
        for (int v = 0; v < n; v++) {
            EXPECT_EQ(r[v].x, want[v]->x) << c.width << "x" << c.height << " view " << v;
            EXPECT_EQ(r[v].y, want[v]->y) << c.width << "x" << c.height << " view " << v;
            EXPECT_EQ(r[v].width, want[v]->width) << c.width << "x" << c.height << " view " << v;
            EXPECT_EQ(r[v].height, want[v]->height) << c.width << "x" << c.height << " view " << v;
        }
        // The views and the seam cover the window exactly.
        if (n == 2 && c.side) {
            EXPECT_EQ(r[0].width + viewSeamPixels + r[1].width, c.width);
        } else if (n == 2) {
            EXPECT_EQ(r[0].height + viewSeamPixels + r[1].height, c.height);
        }
    }
}

// The cue's panel in views of every size two players meet (in screen units): inside the view,
// clear of both HUD panels, under the truck when there is room, and never narrower than its text.
TEST(ViewCue, ThePanelStaysInsideTheViewAndOffTheHud) {
    const int missedText = 300, hintText = 330;  // about "Missed checkpoint - go back" and the stuck hint
    struct Case {
        float width, height;
        int text;
        bool underTruck;  // the classic cue's place, 130 under the centre
    } cases[] = {
        {640, 239, missedText, false},   // 640x480 window: one above the other
        {800, 299, hintText, true},      // 800x600: under the truck, beside the speed panel
        {1280, 479, missedText, true},   // 1280x960 at 1x
        {479, 540, hintText, true},      // 1920x1080 at 2x: side by side
        {319, 480, missedText, true},    // just wider than 4:3: the narrowest view
        {1280, 1080, hintText, true},
    };
    for (const Case& c : cases) {
        ViewCuePanel p = viewCuePanel(c.width, c.height, c.text);
        printf("%.0fx%.0f, text %d: panel %.1f,%.1f to %.1f,%.1f, text from %.1f\n", c.width, c.height, c.text, p.left,
               p.bottom, p.right, p.top, p.textLeft);
        EXPECT_GE(p.left, viewHudMargin);
        EXPECT_LE(p.right, c.width - viewHudMargin);
        EXPECT_GE(p.bottom, viewHudMargin);
        EXPECT_GE(p.textLeft, p.left);
        EXPECT_LE(p.textLeft + (float)c.text, p.right) << "the text fits its panel";
        EXPECT_FLOAT_EQ(p.top - p.bottom, viewCueHeight);
        bool overSpeed = p.left < viewSpeedPanelRight && p.bottom < viewSpeedPanelTop;
        EXPECT_FALSE(overSpeed) << "over the speed and power panel";
        bool overHeading = p.left < viewHeadingPanelRight && p.top > c.height - viewHeadingPanelDepth;
        EXPECT_FALSE(overHeading) << "over the name, position and lap panel";
        EXPECT_EQ(p.bottom == c.height / 2 - viewCueBelowCentre, c.underTruck);
    }
}
