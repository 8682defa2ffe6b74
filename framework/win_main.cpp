// The program's entry point, in a file of its own so that test executables (with their own main)
// never link it.
#include "framework/win_app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return AfxWinMain(instance); }
