// <windows.h> as a resource script sees it on the non-Windows build. Like the SDK's header
// under RC_INVOKED it gives the script constants only, and they are the platform layer's
// own, so a style bit means the same to the script and to the program.
#pragma once

#include "../user.h"

#define RT_MANIFEST 24
