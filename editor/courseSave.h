#pragma once
// Saving an edited course under a name the player types, into the player's own course folder
// ($XDG_DATA_HOME/trailerdash/courses/NAME.course), replaced whole as records are.
#include <cstddef>

#include "track/course.h"

// Longest name a player may give, without its terminating zero.
const int maxSaveNameChars = 24;

// Letters, digits, '-' and '_', 1 to maxSaveNameChars of them: a name that is a plain file name
// everywhere (no path, no dot file, nothing a shell or another system reads differently).
bool saveNameAllowed(const char* name);
// The folder of the player's courses under the storage folder; false when there is no home.
bool userCourseFolder(char* buffer, int size);
// Writes the course under name into folder (made when missing), named name inside too. The
// course must be a whole one (the editor's checked layout). On failure message says why and any
// file already there is untouched; on success path names the file written.
bool saveCourseAs(const Course& course, const char* name, const char* folder, char* path, int pathSize, char* message,
                  size_t messageSize);
