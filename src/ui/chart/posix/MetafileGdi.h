#pragma once

// The GDI calls that write an enhanced metafile, from the metafile library.
#define NOMINMAX
#include <libEMF/emf.h>
