// The two dialog templates, written once: the Windows resource script builds its
// DIALOGEX blocks from these macros, and the native desktop frontend lays out its
// windows from them. Positions and sizes are in dialog units (x, y, width, height),
// which the native frontend converts with the dialog font's average character size.
// Plain macros only, so that windres's preprocessor reads this file as well.
#pragma once

#include "resources/ResourceIds.h"

#define ORVANEL_DIALOG_FONT_NAME "MS Shell Dlg"
#define ORVANEL_DIALOG_FONT_POINTS 8

// Dialog 101, the open-file prompt: 310 x 150 units, centred, with a title bar and
// its close button. Controls in template (and tab) order.
#define ORVANEL_PROMPT_SIZE 310, 150
#define ORVANEL_PROMPT_OK_RECT 253, 129, 50, 14
#define ORVANEL_PROMPT_INTRO_RECT 7, 5, 296, 28
#define ORVANEL_PROMPT_FILE_LABEL_RECT 7, 32, 14, 8
#define ORVANEL_PROMPT_FILE_NAME_RECT 24, 32, 109, 8
#define ORVANEL_PROMPT_QUESTION_RECT 7, 50, 296, 8
#define ORVANEL_PROMPT_SEARCH_RECT 27, 70, 276, 10
#define ORVANEL_PROMPT_READ_ABOUT_RECT 27, 88, 276, 10
#define ORVANEL_PROMPT_OPEN_WITH_RECT 27, 105, 276, 10
#define ORVANEL_PROMPT_DONT_SHOW_RECT 7, 132, 243, 10
#define ORVANEL_PROMPT_SEPARATOR_RECT 7, 123, 296, 1

// Dialog 103, the update download: 184 x 25 units, centred, no close box, one
// smooth progress bar with the range 0 to 100.
#define ORVANEL_UPDATE_CAPTION "Orvanel Update"
#define ORVANEL_UPDATE_SIZE 184, 25
#define ORVANEL_UPDATE_PROGRESS_RECT 7, 7, 170, 11
