// The framework in one include.
#pragma once

#include "framework/cdialog.h"
#include "framework/color_dialog.h"
#include "framework/controls.h"
#include "framework/cstring.h"
#include "framework/cwnd.h"
#include "framework/dpi_scaled.h"
#include "framework/gdi.h"
#include "framework/message_map.h"
#include "framework/win_app.h"
