// libFuzzer target for the course file reader: any bytes are either refused with one message
// naming the file and its line, leaving the course untouched, or read into a course that writes
// back to text which reads again to the very same course.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "track/courseFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Course course;
    snprintf(course.name, sizeof course.name, "untouched");
    char message[courseMessageSize] = "";
    if (!parseCourseText(reinterpret_cast<const char*>(data), size, "fuzz.course", course, message, sizeof message)) {
        if (strncmp(message, "fuzz.course:", 12) != 0) abort();  // the message names file and line
        if (strcmp(course.name, "untouched") != 0) abort();      // nothing half-loaded
        return 0;
    }
    std::string text = writeCourseText(course);
    Course again;
    if (!parseCourseText(text.data(), text.size(), "again", again, message, sizeof message)) abort();
    if (writeCourseText(again) != text || courseHash(again) != courseHash(course)) abort();
    return 0;
}
