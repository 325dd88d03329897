#pragma once

#include "MetafileGdi.h"

#include <string>

// The one part of writing a metafile that differs between the metafile library and the system's
// GDI: the device context that writes the file, and its end.

// Starts a picture with the frame given in hundredths of a millimetre, written to path (UTF-8)
// and replacing any file there; 0, with the reason in error, when it cannot be created.
HDC StartMetafile(const std::string& path, const RECT& frame, std::string& error);
// Ends the picture StartMetafile started; false, with the reason, when the file could not be
// written in full.
bool FinishMetafile(HDC dc, std::string& error);
