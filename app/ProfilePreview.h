#pragma once
// What the dialogs that preview one processed profile (background removal, velocity settings)
// share besides their pop-ups: the matrix they start from, the grouping of their template
// items and the top table of their layout.

#include "Container.h"
#include "LayoutTable.h"

#include <initializer_list>

class C3DMatrix;
class CProject;
class CWnd;

// Recomputes the matrix without migration and background removal, which the preview applies
// itself; both switches are put back, the aperture stays 1 until the dialog ends. False when
// the matrix could not be computed.
bool CalculatePreviewMatrix(CProject& project, C3DMatrix& matrix);

// The gain of the migrated preview for a contrast factor: a factor of 0 (none computed, the
// automatic contrast switched off) means no gain, as in the matrix.
float PreviewGain(float fContrastFactor);

// Whether storing the contrast factor as the auto gain changes the matrix computed with the
// saved one: the gain scales migrated data only.
bool AutoGainChangesMatrix(bool bMigration, float fSavedGain, float fContrastFactor);

// Adds the dialog's items of these ids (those it has) to a group at their template places;
// the group's size.
CSize AddDlgItems(CWnd& dialog, CContainer& group, std::initializer_list<int> ids);

// The top table: the left column at its fixed width beside the right part, which takes the
// rest; the top table adds no margins to those of the inner tables.
void BuildTopTable(CLayoutTable& top, CLayoutTable& left, CLayoutTable& right);
