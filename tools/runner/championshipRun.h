#pragma once
// --championship COURSES: the series the runner races, from a comma list of built-in course
// numbers, course files and "random:N" (N generated courses; "random:N:SEED" from SEED), and the
// standings it prints after every race.
#include <cstdio>

#include "records/championshipProgress.h"

class Championship;
class CourseLibrary;
class Game;

// The series the list names; false, said on err, for an item it cannot use. Course files are
// read here, relative to the working folder, and kept by their hash.
bool parseChampionshipList(const char* list, ChampionshipProgress& plan, FILE* err);
// Every course of plan is one the game can find (a course file must be among its courses);
// false, said on err, naming the first that is not.
bool championshipCoursesFound(const ChampionshipProgress& plan, const CourseLibrary& library, FILE* err);
// The standings after the races run, leader first.
void printStandings(FILE* out, const Game& game, const Championship& championship);
