#pragma once
// The automatic zero level of a project: the mean first arrival of the traces of its first
// vertical line (X line 0) after the first, over the traces that have one. A trace without a
// record, or whose samples are all zero (the grid traces past a profile's end), has none;
// counted as sample 0 it would pull the level towards the surface.

#include <cstdint>

class CProject;

// Selects X line 0 of the project. False, with zeroLevel unchanged, when a trace of the line
// cannot be read or no trace after the first has a first arrival.
bool FindZeroLevel(CProject& project, int32_t& zeroLevel);
