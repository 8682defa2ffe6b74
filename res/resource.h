// Every resource and control id of the program, each named once. Plain #defines: the resource
// compiler reads this file too.
#pragma once

// Icon
#define IDR_MAINFRAME 128

// Dialog templates
#define IDD_MAIN 102
#define IDD_EXIT_PROMPT 139
#define IDD_DAY_NOTE 242
#define IDD_NOTE_POPUP 243
#define IDD_MEMO_PAD 255
#define IDD_MEMO_TAB 256
#define IDD_CALENDAR_TAB 257
#define IDD_WEEKLY_NOTE 258
#define IDD_FIND 259

// Menu 251 and its one command
#define IDR_POPUP_MENU 251
#define ID_UNINSTALL 32778

// Main window (102): template items and the controls it creates
#define IDC_MAIN_HIDE 1000       /* "-" */
#define IDC_MAIN_CLOSE 1001      /* "x" */
#define IDC_YEAR_BOX 1034
#define IDC_MONTH_BOX 1035
#define IDC_PREV_MONTH 1044      /* "上月" */
#define IDC_NEXT_MONTH 1045      /* "下月" */
#define IDC_TODAY 105            /* "返回" */
#define IDC_MONTH_GRID 107
#define IDC_HEADLINE 1053
#define IDC_NEXT_HEADLINE 1054   /* "下一篇" */
#define IDC_FIND 1059            /* "查找" */
#define IDC_YEAR_STATUS 1070     /* "2027年放假安排未公布" */

// Month grid strip links
#define IDC_LINK_HOME 1052
#define IDC_LINK_LOGIN 1055      /* "登录" */
#define IDC_LINK_HELP 1057       /* "帮助" */

// Exit prompt (139)
#define IDC_EXIT_END 1000        /* "结束程序" */
#define IDC_EXIT_UNINSTALL 1025  /* "卸载软件" */

// Day-note dialog (242)
#define IDC_DAY_TEXT 1029
#define IDC_SOLAR_TEXT 1030
#define IDC_LUNAR_TEXT 1031
#define IDC_DAY_SWATCH 1049
#define IDC_SOLAR_SWATCH 1050
#define IDC_LUNAR_SWATCH 1051
#define IDC_DETAILS_LINE 1033    /* the day's stem-branch names, week, term ... under the date line */
#define IDC_HOLIDAY_LINE 1071    /* where a marked day's 休/班 comes from, under the colour hint */

// Both note dialogs: the line that tells how to clear a colour
#define IDC_COLOUR_HINT 1058

// Weekly-note dialog (258)
#define IDC_WEEK_TEXT 1049
#define IDC_WEEK_SWATCH 1056

// Find window (259)
#define IDC_FIND_TEXT 1060
#define IDC_FIND_LIST 1061
#define IDC_FIND_STATUS 1062     /* what could not be read, rows not listed */

// Memo pad (255) and tab windows (256, 257)
#define IDC_MEMO_EDIT 1047
#define IDC_MEMO_HIDE 1048       /* "-" */
#define IDC_TAB_BUTTON 1000      /* "本" / "历" */

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
