#include "waterfall_history.h"

#include <algorithm>

namespace display {

WaterfallHistory::WaterfallHistory(int capacity)
    : capacity_(std::max(capacity, 1)), levels_(static_cast<size_t>(capacity_) * kPositions, 0.0f),
      seconds_(static_cast<size_t>(capacity_), 0.0) {}

bool WaterfallHistory::Add(const double* levels, const WaterfallFrame& frame, double seconds) {
    const bool cleared = count_ > 0 && !(frame == frame_);
    if (cleared)
        Clear();
    frame_ = frame;
    head_ = (head_ + 1) % capacity_;
    float* row = levels_.data() + static_cast<size_t>(head_) * kPositions;
    for (int k = 0; k < kPositions; ++k)
        row[k] = static_cast<float>(levels[k]);
    seconds_[static_cast<size_t>(head_)] = seconds;
    count_ = std::min(count_ + 1, capacity_);
    ++added_;
    return cleared;
}

bool WaterfallHistory::FollowFrame(double centerFreq, int spanIndex) {
    if (count_ == 0 || (centerFreq == frame_.centerFreq && spanIndex == frame_.spanIndex))
        return false;
    Clear();
    return true;
}

void WaterfallHistory::Clear() {
    count_ = 0;
    head_ = -1;
    frame_ = {};
}

int WaterfallHistory::RingIndex(int age) const {
    return ((head_ - age) % capacity_ + capacity_) % capacity_;
}

const float* WaterfallHistory::Row(int age) const {
    return levels_.data() + static_cast<size_t>(RingIndex(age)) * kPositions;
}

double WaterfallHistory::Seconds(int age) const {
    return seconds_[static_cast<size_t>(RingIndex(age))];
}

} // namespace display
