// The bytes this process holds in its heaps, and the message through which another process (the
// end-to-end driver) asks the program for them. The process's mapped memory also moves with
// Wine's and the system's own reservations; the heaps' busy blocks are what the program holds.
#pragma once

#include <cstdint>

// Registered with RegisterWindowMessageA; the main window answers it with the kilobytes in use.
constexpr const char* heapInUseMessageName = "Velquist.HeapInUse";

struct HeapUse {
    uint64_t bytes;  // the busy blocks' sizes added up
    uint64_t blocks; // how many busy blocks there are
};

// The busy blocks of every heap of the process.
HeapUse heapInUse();
