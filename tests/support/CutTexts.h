#pragma once
// Which texts of a window do not fit their controls: the labels of push buttons, check boxes,
// radio buttons and group boxes and the static texts, measured in each control's own font and
// style against the room the control gives them.

#include <string>
#include <vector>

class CWnd;

// One line for each cut text among the window's controls and theirs, the window itself
// included: its kind, id, text and the size it needs beside the size it has. Controls that
// are hidden on their own (not merely inside a hidden window) and owned top-level windows are
// left out.
std::vector<std::string> CutTexts(const CWnd& window);
