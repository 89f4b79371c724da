// Identifiers of the platform test program's resources.
#pragma once

#define IDD_TEST 200
#define IDD_TEST_SHELL 300

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
