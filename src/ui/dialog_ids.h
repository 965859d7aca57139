// Resource and control IDs of the dialogs, and the command notification codes
// the dialog reacts to. Plain macros: the resource scripts include this too.
#pragma once

// Resources
#define IDD_PARAMETERS 101
#define IDC_SCRUB_CURSOR 104
#define IDD_ABOUT 105
#define IDB_CLEAR_ICON 110
#define IDB_EDIT_LIST_ICON 111
#define IDB_LINE_TYPES 112
#define IDD_SIZE_EDITOR 113
#define IDI_GRIDSMITH 116
#define IDB_ABOUT_LOGO 117
#define IDB_ABOUT_SYMBOL 133

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Parameters dialog controls
#define IDC_ROW_SIZES 1003
#define IDC_COL_SIZES 1004
#define IDC_LINE_COLOR 1006
#define IDC_FIRST_BACK_COLOR 1007
#define IDC_GRID_TYPE_PLACEHOLDER 1008
#define IDC_TABLE_WIDTH 1009
#define IDC_TABLE_HEIGHT 1010
#define IDC_ROWS 1011
#define IDC_COLS 1012
#define IDC_GRID_LINE_SIZE 1013
#define IDC_BORDER_LEFT 1014
#define IDC_BORDER_TOP 1015
#define IDC_BORDER_RIGHT 1016
#define IDC_BORDER_BOTTOM 1017
#define IDC_BACK_COLOR 1019
#define IDC_BACK_COLOR2 1020
#define IDC_CENTER_TABLE 1021
#define IDC_FILL_BACKGROUND 1022
#define IDC_BACK_OPACITY 1023
#define IDC_PREVIEW_PLACEHOLDER 1024
#define IDC_BORDER_TYPE_PLACEHOLDER 1025
#define IDC_BORDER_LINE_SIZE 1026
#define IDC_SAVE_PARAMS 1027
#define IDC_LOAD_PARAMS 1028
#define IDC_LEFT_MARGIN 1029
#define IDC_TOP_MARGIN 1030
#define IDC_LINE_OPACITY 1031
#define IDC_REFRESH_PREVIEW 1032
#define IDC_LINK_PLACEHOLDER 1033
#define IDC_LINE_OPACITY_LABEL 1034
#define IDC_BACK_OPACITY_LABEL 1035
#define IDC_DOC_WIDTH_LABEL 1036
#define IDC_DOC_HEIGHT_LABEL 1037
#define IDC_CLEAR_COL_SIZES 1038
#define IDC_EDIT_COL_SIZES 1039
#define IDC_CLEAR_ROW_SIZES 1040
#define IDC_EDIT_ROW_SIZES 1041
#define IDC_ZOOM_OUT 1042
#define IDC_ZOOM_IN 1043
#define IDC_ZOOM_LABEL 1044
#define IDC_LINE_GROUP 1045
#define IDC_BACK_GROUP 1046
#define IDC_ABOUT 1047
#define IDC_DOCK_BORDER 1052
#define IDC_GRID_LINE_TYPE 5001
#define IDC_BORDER_LINE_TYPE 5002

// About dialog controls (1033, the link placeholder, as in the parameters dialog)
#define IDC_ABOUT_LOGO 1036
#define IDC_ABOUT_VERSION 1037
#define IDC_ABOUT_DESCRIPTION 1055
#define IDC_ABOUT_NOTICE 1056
#define IDC_ABOUT_TITLE 1060
#define IDC_ABOUT_LINK 10001

// Command notification codes (the platform's values).
#define NOTIFY_BUTTON_CLICKED 0
#define NOTIFY_COMBO_SELECTION_CHANGE 1
#define NOTIFY_COMBO_EDIT_CHANGE 5
#define NOTIFY_EDIT_CHANGE 0x0300

// Messages between the parameters dialog and the size-list popup.
#define MSG_SIZE_LIST_EDITED 1125
#define MSG_SIZE_LIST_LOAD 1126
