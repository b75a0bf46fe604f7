#include "process_footprint.h"

#include <windows.h>

size_t privateBytes() {
    size_t total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (static_cast<char*>(region.BaseAddress) + region.RegionSize < at) break;
    }
    return total;
}
