#pragma once
// The waterfall's rows: the levels of the last traces at the 1001 display positions, newest
// first, each with its arrival time, and the frame they were taken in.

#include <cstdint>
#include <vector>

namespace display {

// What a row's X positions mean: a change of any of these starts a new waterfall.
struct WaterfallFrame {
    double centerFreq = 0;
    int spanIndex = -1;
    int points = 0; // 251 or 1001
    bool operator==(const WaterfallFrame&) const = default;
};

class WaterfallHistory {
public:
    static constexpr int kPositions = 1001;
    static constexpr int kDefaultRows = 600;

    explicit WaterfallHistory(int capacity = kDefaultRows);

    // Adds the newest row (kPositions levels). When the frame differs from the rows' frame the
    // history is cleared first; returns true then.
    bool Add(const double* levels, const WaterfallFrame& frame, double seconds);
    // Clears when the centre or the span differs from the rows' (the point count is only known
    // with the next trace). Returns true when it cleared.
    bool FollowFrame(double centerFreq, int spanIndex);
    void Clear();

    int Count() const { return count_; }
    int Capacity() const { return capacity_; }
    // Row `age` (0 the newest) and its time; age must be below Count().
    const float* Row(int age) const;
    double Seconds(int age) const;
    // Ring index of a row: the rows live at ring positions 0..Capacity()-1.
    int RingIndex(int age) const;
    // Rows added since construction; tells a cached picture what it misses.
    uint64_t Added() const { return added_; }

private:
    int capacity_;
    int head_ = -1; // ring index of the newest row
    int count_ = 0;
    uint64_t added_ = 0;
    WaterfallFrame frame_;
    std::vector<float> levels_;
    std::vector<double> seconds_;
};

} // namespace display
