#pragma once

// Waits until what was written to the open file (a C runtime descriptor, as QFile::handle
// gives) is on the disk; false when it could not get there.
bool SyncToDisk(int descriptor);
