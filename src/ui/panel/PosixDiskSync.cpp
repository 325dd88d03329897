#include "DiskSync.h"

#include <unistd.h>

bool SyncToDisk(int descriptor) {
    return ::fsync(descriptor) == 0;
}
