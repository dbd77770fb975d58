#pragma once
// The fixed table of OpenGL textures: 128 records whose names are generated once at start-up,
// handed out in order and never returned. Users keep a pointer to their record and bind it.
class Image;
struct ImageShape;

const int textureTableSize = 128;

struct Texture {
    Texture();

    // Sends a square image to OpenGL, mipmapped unless both filters are GL_NEAREST or GL_LINEAR.
    // False, with nothing sent, for a non-square or empty image.
    bool upload(Image& image, unsigned magFilter, unsigned minFilter);
    // Records and applies each non-zero setting to the texture currently bound.
    void setParameters(unsigned wrapS, unsigned wrapT, unsigned magFilter, unsigned minFilter, unsigned envMode);
    // Binds the texture when it holds an image; otherwise leaves the current binding alone.
    void bind();
    void setDefaults();

    unsigned id;
    unsigned wrapS;
    unsigned wrapT;
    unsigned magFilter;
    unsigned minFilter;
    unsigned envMode;
    unsigned target;
    bool loaded;
};

// Generates the table's names in the current GL context and starts handing out from record 0.
// Pictures larger than this GL's largest texture are refused by the loader from then on.
void initTextures();
// For runs that draw nothing (the headless runner's undrawn races): no GL context is needed,
// the records hand out unloaded, and loadTexture reads no file. initTextures or
// releaseTextures ends the mode.
void initTexturesUndrawn();
// False while that mode lasts: pictures need not be read.
bool texturesDrawn();
// Deletes all the table's names, used or not, and puts the loader's fixed side limit back.
void releaseTextures();
// The next unused record. Past the table's end, a spare record that never loads nor binds.
Texture* newTexture();
Texture* createTexture(Image& image, unsigned magFilter, unsigned minFilter);
// Loads a BMP into a new record; conversion 1 widens a grey picture to four channels. When
// expected is given, a picture of another shape is named on stderr (and loaded all the same).
Texture* loadTexture(const char* fileName, unsigned magFilter, unsigned minFilter, int conversion,
                     const ImageShape* expected = nullptr);

// Record i of the table, for inspection; null outside 0..textureTableSize-1.
Texture* textureRecord(int index);
// Records handed out so far, at most textureTableSize.
int texturesUsed();
