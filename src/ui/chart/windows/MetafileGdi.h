#pragma once

// The GDI calls that write an enhanced metafile, the system's own.
#ifndef NOMINMAX // the compiler's own headers may have set it
#define NOMINMAX
#endif
#include <windows.h>
