#include "graphics/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>

#include "core/errorBox.h"
#include "graphics/image.h"

static Texture textureTable[textureTableSize];
static int textureCount = 0;
// Handed out once the table is exhausted, so that a caller past the limit gets a record that
// draws nothing instead of one past the array.
static Texture spareTexture;
static bool spareReported = false;
// Cleared by initTexturesUndrawn: there is no GL context to send pictures to.
static bool drawnTextures = true;

static bool isPlainFilter(unsigned filter) { return filter == GL_NEAREST || filter == GL_LINEAR; }

Texture::Texture() { setDefaults(); }

void Texture::setDefaults() {
    id = 0;
    wrapS = GL_CLAMP;
    wrapT = GL_CLAMP;
    magFilter = GL_LINEAR_MIPMAP_LINEAR;
    minFilter = GL_LINEAR_MIPMAP_LINEAR;
    envMode = GL_MODULATE;
    target = GL_TEXTURE_2D;
    loaded = false;
}

bool Texture::upload(Image& image, unsigned newMag, unsigned newMin) {
    if (this == &spareTexture || !drawnTextures) return false;
    if (image.width != image.height || !image.data || image.width <= 0) return false;
    if (image.channels != 1 && image.channels != 3 && image.channels != 4) return false;
    bool mipmapped = !isPlainFilter(newMin) || !isPlainFilter(newMag);
    loaded = true;
    bind();
    setParameters(GL_REPEAT, GL_REPEAT, newMag, newMin, GL_MODULATE);
    // Image rows are packed; GL would otherwise read each row as if padded to 4 bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // A component count of 1 would mean luminance, which turns alpha-only samples black.
    GLint components = image.channels == 1 ? GL_ALPHA : image.channels;
    if (mipmapped)
        gluBuild2DMipmaps(GL_TEXTURE_2D, components, image.width, image.width, image.format, GL_UNSIGNED_BYTE,
                          image.data);
    else
        glTexImage2D(GL_TEXTURE_2D, 0, components, image.width, image.width, 0, image.format, GL_UNSIGNED_BYTE,
                     image.data);
    return true;
}

void Texture::setParameters(unsigned newWrapS, unsigned newWrapT, unsigned newMag, unsigned newMin, unsigned newEnv) {
    // The spare has no texture of its own: applying its settings would change someone else's.
    bool apply = this != &spareTexture;
    if (newWrapS) {
        wrapS = newWrapS;
        if (apply) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, (GLint)newWrapS);
    }
    if (newWrapT) {
        wrapT = newWrapT;
        if (apply) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, (GLint)newWrapT);
    }
    if (newMag) {
        magFilter = newMag;
        // Magnification has no mipmap modes; such a value is kept only as the record's wish.
        if (apply && isPlainFilter(newMag)) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, (GLint)newMag);
    }
    if (newMin) {
        minFilter = newMin;
        if (apply) glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, (GLint)newMin);
    }
    if (newEnv) {
        envMode = newEnv;
        if (apply) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, (GLint)newEnv);
    }
}

void Texture::bind() {
    if (loaded) glBindTexture(target, id);
}

void initTextures() {
    GLuint names[textureTableSize];
    glGenTextures(textureTableSize, names);
    for (int i = 0; i < textureTableSize; i++) {
        textureTable[i].setDefaults();
        textureTable[i].id = names[i];
    }
    textureCount = 0;
    spareReported = false;
    drawnTextures = true;
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    setImageSideLimit(largest);
}

void initTexturesUndrawn() {
    for (int i = 0; i < textureTableSize; i++) textureTable[i].setDefaults();
    textureCount = 0;
    spareReported = false;
    drawnTextures = false;
    setImageSideLimit(0);
}

bool texturesDrawn() { return drawnTextures; }

void releaseTextures() {
    // Undrawn records hold no names, and there may be no context to delete them in.
    if (!drawnTextures) {
        setImageSideLimit(0);
        drawnTextures = true;
        return;
    }
    GLuint names[textureTableSize];
    for (int i = 0; i < textureTableSize; i++) names[i] = textureTable[i].id;
    glDeleteTextures(textureTableSize, names);
    setImageSideLimit(0);
}

Texture* newTexture() {
    if (textureCount >= textureTableSize) {
        if (!spareReported) {
            fprintf(stderr, "newTexture: all %d textures are in use; further pictures will not show\n",
                    textureTableSize);
            spareReported = true;
        }
        spareTexture.setDefaults();
        return &spareTexture;
    }
    return &textureTable[textureCount++];
}

Texture* createTexture(Image& image, unsigned magFilter, unsigned minFilter) {
    Texture* texture = newTexture();
    texture->upload(image, magFilter, minFilter);
    return texture;
}

Texture* loadTexture(const char* fileName, unsigned magFilter, unsigned minFilter, int conversion,
                     const ImageShape* expected) {
    Texture* texture = newTexture();
    if (!drawnTextures) return texture;
    Image image;
    // A refused file has been reported by the loader; the record stays unloaded.
    if (!image.LoadBMP(fileName)) return texture;
    if (expected) image.checkShape(fileName, *expected);
    // expandChannels would refuse a colour picture too, but without saying which file it was.
    if (conversion == 1 && image.channels != 1)
        errorBox("Can't duplicate a multi-channel image: %s", fileName);
    else if (conversion == 1)
        image.expandChannels(4);
    texture->upload(image, magFilter, minFilter);
    return texture;
}

Texture* textureRecord(int index) {
    if (index < 0 || index >= textureTableSize) return nullptr;
    return &textureTable[index];
}

int texturesUsed() { return textureCount; }
