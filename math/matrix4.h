#pragma once
// A 4x4 float matrix laid out and multiplied exactly as OpenGL's matrix stack, so that a chain of
// translate and rotate calls here lands points where the same glTranslatef/glRotatef chain draws
// them.

class Matrix4 {
public:
    // All zeros, not the identity: call setIdentity before translating or rotating.
    Matrix4();
    Matrix4(const Matrix4& other);
    Matrix4& operator=(const Matrix4& other);
    virtual ~Matrix4();

    Matrix4& set(const Matrix4& other);
    void setIdentity();
    // this = this * m, as glMultMatrixf.
    void multiply(const Matrix4& m);
    void translate(float x, float y, float z);
    // Rotation by angle degrees about (x, y, z), as glRotatef but with the axis used unnormalised.
    void rotate(float angle, float x, float y, float z);
    // Element column * 4 + row; an index outside 0..15 reaches a scratch value, not memory
    // beyond the matrix.
    float& element(int index);
    float element(int index) const;
    void transpose();
    void add(const Matrix4& m);
    void subtract(const Matrix4& m);
    // Writes one column per line with "%5f " per element through append (the debug console's
    // consoleAppend fits); math sits below the text layer, so the sink is the caller's.
    void print(void (*append)(const char* text)) const;

    float elements[16];
};
