#include "span_steps.h"

#include "instrument_settings.h"
#include "keyword_tables.h"

namespace spansteps {

namespace {
// 100 Hz units per display position, in the order of the span keyword rows.
constexpr int kStep410[] = {0,   2,    5,    10,   20,    50,    100,  200,
                            500, 1000, 2000, 5000, 10000, 20000, 33000};
constexpr int kStep420[] = {0,   2,    5,    10,   20,    50,    100,   200,
                            500, 1000, 2000, 5000, 10000, 20000, 50000, 85000};
static_assert(sizeof kStep410 / sizeof kStep410[0] == keywords::count(keywords::kSpan410));
static_assert(sizeof kStep420 / sizeof kStep420[0] == keywords::count(keywords::kSpan420));
} // namespace

int spanStepValue(int modelIndex, int spanIndex) {
    const int* steps = modelIndex == 1 ? kStep420 : kStep410;
    const int last = keywords::spanCount(modelIndex) - 1;
    if (spanIndex < 0) {
        spanIndex = 0;
    } else if (spanIndex > last) {
        spanIndex = last;
    }
    return steps[spanIndex];
}

int spanStepHz(int modelIndex, int spanIndex) {
    return spanStepValue(modelIndex, spanIndex) * 100;
}

int currentSpanStepHz() {
    return spanStepHz(gSettings.modelIndex, gSettings.spanIndex);
}

} // namespace spansteps
