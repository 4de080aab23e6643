#pragma once
// The PC-side peak search on the active trace's level bytes.

#include "modes.h"

#include <cstdint>

namespace display {

struct PeakSearchInput {
    const uint8_t* points = nullptr;      // level bytes, at least `kind`'s point count of them
    int kind = 2;                         // trace kind of the active slot
    PeakMode peakMode = PeakMode::Normal; // zone: search only between the zone cursors
    int zonePosition = 0;                 // zone centre, display positions
    int zoneWidth = 0;                    // zone half-width, display positions
    int xScroll = 0;
    int xZoom = 0;
};

// The (n+1)-th highest peak as a display position; 0 (less the window base when zoomed) when the
// window holds fewer peaks, 0 at once for an empty slot.
int PeakSearch(const PeakSearchInput& input, int n);

// The same on the settings record's active trace and display state.
int PeakSearch(int n);

// The search input of the settings record's active trace and display state.
PeakSearchInput CurrentPeakSearchInput();

struct PeakEntry {
    int position; // display position, as PeakSearch gives it
    int point;    // index into the level bytes
};
// The first `maxPeaks` peaks in the order the search steps through them: entry n is what
// PeakSearch(input, n) finds. Returns how many were found (fewer when the window holds fewer).
int PeakList(const PeakSearchInput& input, int maxPeaks, PeakEntry* out);

} // namespace display
