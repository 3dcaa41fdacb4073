#pragma once

// The Windows API for runtime's own platform code, without the parts of <windows.h> that clash with
// the standard library (min/max macros) or slow every build (the lean set is enough here).
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif
