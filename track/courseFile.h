#pragma once
// The course file: one course as a short text of our own, versioned. Reading is strict: a file
// that is malformed, cut short, too large or at odds with itself is refused whole, with one
// message "FILE:LINE: what is wrong", and the course handed in is left as it was.
#include <cstddef>
#include <cstdint>
#include <string>

#include "track/course.h"

const int courseFileVersion = 1;
// Larger than any course the format can hold, written out with long numbers.
const size_t maxCourseFileBytes = 32 * 1024;
const size_t maxCourseLineBytes = 512;
// Room for a message naming a long path.
const size_t courseMessageSize = 1024;

// The course as the file holds it; the grid line only when it is not the built-in one.
std::string writeCourseText(const Course& course);
// Reads a course from text; fileName only names it in the message.
bool parseCourseText(const char* text, size_t length, const char* fileName, Course& out, char* message,
                     size_t messageSize);
// Reads a course file; a file that cannot be read is refused as any damaged one is.
bool loadCourseFile(const char* path, Course& out, char* message, size_t messageSize);
// FNV-1a (64 bits) of everything but the name: a renamed course keeps it, any other change
// gives another, so records can be keyed by it.
uint64_t courseHash(const Course& course);
