#pragma once
// A fixture with a real Mesa GL context (SDL's offscreen driver) and pixel read-back.
#include <gtest/gtest.h>
#include <GL/gl.h>

#include <cstdint>

struct Rgb {
    int r, g, b;
};

// Reads the colour of pixel (x, y) of the back buffer; (0, 0) is the bottom-left pixel.
Rgb readPixel(int x, int y);

class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};
