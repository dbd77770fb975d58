#pragma once
// Where the game keeps what lasts between runs, and the safe way to write it: a file is only
// ever replaced whole, so a crash or power loss leaves the old one or the new one, never half.
#include <cstddef>

const int storagePathSize = 1024;

// $XDG_DATA_HOME/trailerdash, or ~/.local/share/trailerdash when XDG_DATA_HOME is unset, empty
// or relative. False when neither can be told or the path does not fit.
bool storageFolder(char* buffer, int size);
// Creates path and any missing parents; true when it exists as a folder afterwards.
bool makeFolders(const char* path);

// Writes data into a new temporary file beside path and flushes it to the disk; its name goes
// into tempPath. False, with nothing left behind, when any step fails.
bool writeTemporaryBeside(const char* path, const void* data, size_t size, char* tempPath, int tempSize);
// Puts the temporary file in place of path in one step.
bool replaceWithTemporary(const char* tempPath, const char* path);
// Both steps; false when the old file (if any) is still the one in place.
bool writeFileAtomically(const char* path, const void* data, size_t size);

// Reads at most capacity bytes of path into buffer. Returns the count, or -1 when the file cannot
// be opened; tooLong is set when the file holds more than capacity.
long readWholeFile(const char* path, void* buffer, size_t capacity, bool& tooLong);
