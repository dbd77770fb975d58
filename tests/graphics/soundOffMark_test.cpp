// The sound-off mark: drawn where it belongs, and no GL state left behind for the next frame's
// world (a colour left black once drew the whole course black).
#include <GL/gl.h>

#include "glTest.h"
#include "graphics/soundOffMark.h"

using SoundOffMarkTest = GLTest;

TEST_F(SoundOffMarkTest, DrawsInTheCornerAndLeavesColourAndSwitchesAsTheyWere) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    drawSoundOffMark();

    Rgb speaker = readPixel(606 + 10, 8 + 13), clear = readPixel(300, 240);
    printf("speaker pixel %d %d %d, screen centre %d %d %d\n", speaker.r, speaker.g, speaker.b, clear.r, clear.g,
           clear.b);
    EXPECT_GT(speaker.r + speaker.g + speaker.b, 600) << "the white speaker in the bottom-right corner";
    EXPECT_EQ(clear.r + clear.g + clear.b, 0) << "nothing elsewhere";

    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_TRUE(colour[0] == 1 && colour[1] == 1 && colour[2] == 1 && colour[3] == 1)
        << colour[0] << " " << colour[1] << " " << colour[2] << " " << colour[3];
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}
