#pragma once
// Finding the folder that holds the game's "images", so the game can be started from anywhere.

// True when folder has an "images" sub-folder.
bool holdsImages(const char* folder);
// The first of count folders that holds "images", or -1. Null or empty entries are skipped.
int findDataFolder(const char* const* folders, int count);
// Writes the folder of the running program into buffer; false when it cannot be told.
bool executableFolder(char* buffer, int size);
// Enters the first of count folders that holds "images" and returns true; when none does, says
// so on stderr and in an error box naming them, stays where it is and returns false.
bool enterDataFolderFrom(const char* const* folders, int count);
// Enters the data folder: the working folder if it has "images", else the program's own
// folder, else the installed data folder beside it or under the install prefix. When none
// has it, says so on stderr and in an error box, stays where it is and returns false.
bool enterDataFolder();
