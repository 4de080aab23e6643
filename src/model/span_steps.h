#pragma once
// Frequency step of one display position (the X axis runs over positions 0..1000) for each span.
// frequency at position x = centerFreq + (x - 500 + xScroll) * spanStepHz.

namespace spansteps {

// Step in units of 100 Hz per position (span in Hz / 100000): "ZERO" 0, "200K" 2, ... "5G" 50000,
// "FULL" 33000 on RVX410 and 85000 on RVX420. modelIndex 1 is RVX420, anything else RVX410.
// A spanIndex below 0 counts as 0 and one beyond the model's row as its last entry ("FULL").
int spanStepValue(int modelIndex, int spanIndex);

// The same in Hz per position (spanStepValue x 100).
int spanStepHz(int modelIndex, int spanIndex);

// The step for the record's current model and span.
int currentSpanStepHz();

} // namespace spansteps
