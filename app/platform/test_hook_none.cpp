// The shipped program's hook: does nothing.
#include "test_hook.h"

void platform_test_hook(const char*, HWND, UINT) {}
