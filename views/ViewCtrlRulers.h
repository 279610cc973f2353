#pragma once
// What the view controls share about their rulers: the font of the horizontal ruler and the
// ruler thickness it gives, titles with the project's unit, the scale kind of its unit system
// and the lengths that the rulers span, in that unit.

#include <string>

class CProject;
struct CRect;
class CRuler;
class CWnd;

// The horizontal ruler takes no insets, side top, face "Times New Roman" at nFontHeight and
// its title, so that its fonts exist. Returns the thickness of the control's rulers: the
// major tick and the height of the label font measured on the owner's client context, a
// stock font standing in when the ruler has none; never below 0.
int PrepareRulerFont(CRuler& ruler, CWnd& owner, int nFontHeight, const std::wstring& title);

// The format's "%s" filled with the project's unit label in brackets ("[m]"), or with
// nothing without a project.
std::wstring RulerTitle(const std::wstring& format, const CProject* pProject);

// 1 metres, 2 feet.
int RulerScaleKind(const CProject& project);

// From the first to the last of positions grid positions, in the project's unit; 0 for less
// than two positions.
float RulerPositionRange(int positions, const CProject& project);

// The rulers of a view control along the top and the left edge of its client area: both
// thickness pixels thick at (0, 0), on white, labels pushed inward, metric until bound. The
// horizontal one spans the width and starts its scale after the vertical one; the vertical
// one spans the height, takes the horizontal one's font, starts its scale verticalInset
// pixels down and is turned by verticalAlignment.
void LayOutRulers(CRuler& horizontal, CRuler& vertical, const CRect& client, int thickness, int verticalInset,
                  int verticalAlignment, const std::wstring& verticalTitle);

// Places a ruler of thickness pixels with its corner at (x, y), length pixels long.
void PlaceRuler(CRuler& ruler, int x, int y, int length, int thickness);
