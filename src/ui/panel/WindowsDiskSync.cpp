#include "DiskSync.h"

#include <io.h>

bool SyncToDisk(int descriptor) {
    return ::_commit(descriptor) == 0;
}
