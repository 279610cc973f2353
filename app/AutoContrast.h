#pragma once
// The gain of the processing dialogs' migrated preview: migration spreads a trace's energy
// over its neighbours, so the migrated picture is darker than the plain one. The factor is
// the sum of the positive values of the first traces of the longer line set before migration
// over the same sum after it.

class C3DMatrix;
class CProject;

// Up to this many traces from the start of the first line take part.
constexpr int AUTO_CONTRAST_TRACES = 100;

// Sets factor when the configuration's automatic contrast is on and leaves it alone (false)
// when it is off. A set that holds no trace, or migrated data without a positive value,
// gives 1. The project's migration switch is on during the run and as before afterwards.
bool AutoContrastFactorCalc(CProject& project, const C3DMatrix& matrix, float& factor);
