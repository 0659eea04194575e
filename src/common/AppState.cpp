#include "common/AppState.h"

int AppState::ListedRow(int a) const {
    if (!ValidBusAddress(a)) return -1;
    const int r = DeviceRow[static_cast<size_t>(a)];
    if (r >= 0 && r <= FoundLast && r < kListRows && FoundList[static_cast<size_t>(r)] == a) return r;
    for (int i = 0; i <= FoundLast && i < kListRows; ++i)
        if (FoundList[static_cast<size_t>(i)] == a) return i;
    return -1;
}
