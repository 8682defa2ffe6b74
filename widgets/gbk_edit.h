// Edits that hold only what GBK (code page 936) can hold: a typed or pasted character outside it
// (an emoji, Hangul ...) does not go in, with a beep, instead of turning into "?" on the way to
// the file.
#pragma once

#include <windows.h>

// Takes the edit's typing and pasting through a check first (it subclasses the edit with a
// Unicode window procedure, so characters arrive before any conversion to the code page).
void KeepEditToGbk(HWND edit);
// FitsGbk (platform/wide_text.h) is the check.
