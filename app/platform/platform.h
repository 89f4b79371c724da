// The Win32 subset that diagram/ and app/ are written against.
// On Windows this is the real API; elsewhere it is our own layer (GDI over cairo,
// USER over GTK 3) with the same names, types and effects.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <windowsx.h>
#else
#include "win32_types.h"
#include "gdi.h"
#include "user.h"
#endif
