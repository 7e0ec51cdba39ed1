#include "PrintMemory.h"

#include <malloc.h>

void KeepPageBuffersInHeap() {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
}
