#pragma once
// The message that refuses an edit of the drawing objects while a view is drawing a new
// object or moving one.

// Shows it (OK button only); the text names what the current tool is doing.
void ShowDrawingBusyMessage();
