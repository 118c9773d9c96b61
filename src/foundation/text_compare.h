// Text orderings usable as PtrList compare operations (0 before, 1 equal, 2 after).
#pragma once

int compareText(const void* a, const void* b);
int compareTextNoCase(const void* a, const void* b);
