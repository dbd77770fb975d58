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
