#include "math/matrix4.h"

#include <cmath>
#include <cstdio>

#include "math/vector.h"

static float scratchElement;

Matrix4::Matrix4() {
    for (int i = 0; i < 16; i++) elements[i] = 0.0f;
}

Matrix4::Matrix4(const Matrix4& other) { set(other); }

Matrix4& Matrix4::operator=(const Matrix4& other) { return set(other); }

Matrix4::~Matrix4() {}

Matrix4& Matrix4::set(const Matrix4& other) {
    for (int i = 0; i < 16; i++) elements[i] = other.elements[i];
    return *this;
}

void Matrix4::setIdentity() {
    for (int i = 0; i < 16; i++) elements[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

void Matrix4::multiply(const Matrix4& m) {
    // Built in a temporary so that m may be this matrix itself.
    float r[16];
    for (int c = 0; c < 4; c++) {
        for (int row = 0; row < 4; row++) {
            r[c * 4 + row] =
                elements[0 * 4 + row] * m.elements[c * 4 + 0] + elements[1 * 4 + row] * m.elements[c * 4 + 1] +
                elements[2 * 4 + row] * m.elements[c * 4 + 2] + elements[3 * 4 + row] * m.elements[c * 4 + 3];
        }
    }
    for (int i = 0; i < 16; i++) elements[i] = r[i];
}

void Matrix4::translate(float x, float y, float z) {
    Matrix4 t;
    t.setIdentity();
    t.elements[12] = x;
    t.elements[13] = y;
    t.elements[14] = z;
    multiply(t);
}

void Matrix4::rotate(float angle, float x, float y, float z) {
    double a = angle * degToRad;
    float c = (float)cos(a);
    float s = (float)sin(a);
    float t = 1.0f - c;
    Matrix4 r;
    r.elements[0] = t * x * x + c;
    r.elements[1] = t * x * y + s * z;
    r.elements[2] = t * x * z - s * y;
    r.elements[4] = t * x * y - s * z;
    r.elements[5] = t * y * y + c;
    r.elements[6] = t * y * z + s * x;
    r.elements[8] = t * x * z + s * y;
    r.elements[9] = t * y * z - s * x;
    r.elements[10] = t * z * z + c;
    r.elements[15] = 1.0f;
    multiply(r);
}

float& Matrix4::element(int index) {
    if (index < 0 || index > 15) return scratchElement;
    return elements[index];
}

float Matrix4::element(int index) const {
    if (index < 0 || index > 15) return 0.0f;
    return elements[index];
}

void Matrix4::transpose() {
    for (int c = 0; c < 4; c++) {
        for (int row = c + 1; row < 4; row++) {
            float t = elements[c * 4 + row];
            elements[c * 4 + row] = elements[row * 4 + c];
            elements[row * 4 + c] = t;
        }
    }
}

void Matrix4::add(const Matrix4& m) {
    for (int i = 0; i < 16; i++) elements[i] += m.elements[i];
}

void Matrix4::subtract(const Matrix4& m) {
    for (int i = 0; i < 16; i++) elements[i] -= m.elements[i];
}

void Matrix4::print(void (*append)(const char* text)) const {
    if (!append) return;
    // Room for "%5f " of any float, the largest being about 48 characters.
    char text[64];
    for (int i = 0; i < 16; i++) {
        if (i == 4 || i == 8 || i == 12) append("\n");
        snprintf(text, sizeof text, "%5f ", elements[i]);
        append(text);
    }
    append("\n");
}
