// Identifiers of the platform test program's resources.
#pragma once

#define IDS_TEST_TITLE 1
#define IDS_TEST_CLASS 2
#define IDS_TEST_LONG 3

#define IDA_TEST 100
#define IDM_TEST_ABOUT 104
#define IDM_TEST_F5 105

#define IDD_TEST 200
#define IDC_TEST_EDIT 201
#define IDC_TEST_RADIO_A 202
#define IDC_TEST_RADIO_B 203
#define IDC_TEST_AUTO_A 204
#define IDC_TEST_AUTO_B 205
#define IDC_TEST_LABEL 206
#define IDC_TEST_GROUP 207
#define IDC_TEST_NARROW_A 208
#define IDC_TEST_NARROW_B 209

#define IDD_TEST_SHELL 300

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
