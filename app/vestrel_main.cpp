// The program's one application object.
#include "app/calendar_app.h"

CCalendarApp theApp;
