#include "foundation/heap_in_use.h"

#include <windows.h>

#include <vector>

HeapUse heapInUse() {
    std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
    heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
    HeapUse use{0, 0};
    for (HANDLE heap : heaps) {
        // Walking a heap another thread changes meanwhile would read torn entries.
        if (!HeapLock(heap))
            continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
                use.bytes += entry.cbData;
                ++use.blocks;
            }
        HeapUnlock(heap);
    }
    return use;
}
