// Identifiers of the platform test program's resources.
#pragma once

#define IDD_TEST 200
#define IDD_TEST_SHELL 300
