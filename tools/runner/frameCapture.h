#pragma once
// Writes what the current GL context has drawn to a binary PPM file.

// Reads width x height pixels of the draw buffer and writes them top row first; false when the
// size is unusable or the file cannot be written.
bool captureFrame(const char* path, int width, int height);
