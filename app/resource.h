// Identifiers of Vapora's resources: strings, icons, accelerators, menu, dialogs and
// their controls. Shared by vapora.rc and the program's sources.
#pragma once

// Strings
#define IDS_APP_TITLE 103     // the main window's title
#define IDS_WINDOW_CLASS 109  // the main window's class name

// Icons
#define IDI_VAPORA 107     // large class icon, 128 x 128
#define IDI_SMALL 108      // small class icon, 32 x 32
#define IDR_MAINFRAME 128  // the icon shown in the About box

// Accelerator table and menu
#define IDC_VAPORA 109

// Commands
#define IDM_ABOUT 104
#define IDM_EXIT 105

// Dialogs
#define IDD_ABOUTBOX 103
#define IDD_INPUT 111
#define IDD_RESULTS 112

// Data-input dialog: group boxes
#define IDC_GROUP_POINT1 801
#define IDC_GROUP_POINT2 802
#define IDC_GROUP_SPECIAL 803

// Data-input dialog: pair selectors of point 1 (t,p t,h p,h t,s p,s t,x p,x)
#define IDC_P1_TP 1001
#define IDC_P1_TH 1002
#define IDC_P1_PH 1003
#define IDC_P1_TS 1004
#define IDC_P1_PS 1005
#define IDC_P1_TX 1006
#define IDC_P1_PX 1007

// Data-input dialog: pair selectors of point 2
#define IDC_P2_TP 1008
#define IDC_P2_TH 1009
#define IDC_P2_PH 1010
#define IDC_P2_TS 1011
#define IDC_P2_PS 1012
#define IDC_P2_TX 1013
#define IDC_P2_PX 1014

// Data-input dialog: turbine cases, point 1 given as (t,p), (t,h) or (p,h)
#define IDC_TURBINE_TP 1015
#define IDC_TURBINE_TH 1016
#define IDC_TURBINE_PH 1017

// Data-input dialog: labels and edit boxes
#define IDC_P1_LABEL1 1051
#define IDC_P1_VALUE1 1052
#define IDC_P1_LABEL2 1053
#define IDC_P1_VALUE2 1054
#define IDC_P2_LABEL1 1055
#define IDC_P2_VALUE1 1056
#define IDC_P2_LABEL2 1057
#define IDC_P2_VALUE2 1058

// Data-input dialog: "Calculate" carries the OK identifier, so Enter in an edit box presses it
#define IDC_CALCULATE 1

// Results dialog
#define IDC_RESULTS_CLOSE 1001

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
