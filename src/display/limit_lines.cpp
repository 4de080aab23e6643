#include "limit_lines.h"

#include "trace_levels.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace display {
namespace {

constexpr double kOnLine = 1e-9; // a level this close to a line is on it

bool Blank(std::string_view s) {
    return s.find_first_not_of(" \t\r") == std::string_view::npos;
}

std::string_view Trim(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t\r\"");
    if (first == std::string_view::npos)
        return {};
    const size_t last = s.find_last_not_of(" \t\r\"");
    return s.substr(first, last - first + 1);
}

// A number with an optional k, M or G (and an optional "Hz"); false for anything else.
bool ReadNumber(std::string_view field, bool frequency, double* value) {
    const std::string text(Trim(field));
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str())
        return false;
    std::string_view rest(end);
    if (frequency && !rest.empty()) {
        const char p = rest.front();
        const double scale = p == 'k' || p == 'K' ? 1e3 : p == 'M' ? 1e6 : p == 'G' ? 1e9 : 0;
        if (scale != 0) {
            v *= scale;
            rest.remove_prefix(1);
        }
        if (rest == "Hz" || rest == "hz")
            rest = {};
    }
    if (!Trim(rest).empty())
        return false;
    *value = v;
    return true;
}

std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

double Interpolate(const LimitPoint& a, const LimitPoint& b, double f) {
    if (f <= a.frequency)
        return a.level;
    if (f >= b.frequency)
        return b.level;
    return a.level + (b.level - a.level) * ((f - a.frequency) / (b.frequency - a.frequency));
}

} // namespace

LimitCleanup CleanLimitPoints(std::vector<LimitPoint> points) {
    LimitCleanup out;
    for (size_t i = 0; i < points.size(); ++i) {
        const LimitPoint& p = points[i];
        if (!std::isfinite(p.frequency) || std::abs(p.frequency) > kMaxLimitFrequency) {
            out.message = "Point " + std::to_string(i + 1) + ": the frequency is not a number " +
                          "between -1 THz and 1 THz.";
            return out;
        }
        if (!std::isfinite(p.level) || std::abs(p.level) > kMaxLimitLevel) {
            out.message = "Point " + std::to_string(i + 1) +
                          ": the level is not a number between -1000 and 1000.";
            return out;
        }
    }
    if (points.size() > static_cast<size_t>(kMaxLimitPoints)) {
        out.message = "A limit line holds at most " + std::to_string(kMaxLimitPoints) +
                      " points; " + std::to_string(points.size()) + " were given.";
        return out;
    }
    const bool sorted =
        std::is_sorted(points.begin(), points.end(), [](const LimitPoint& a, const LimitPoint& b) {
            return a.frequency < b.frequency;
        });
    std::stable_sort(points.begin(), points.end(), [](const LimitPoint& a, const LimitPoint& b) {
        return a.frequency < b.frequency;
    });
    const size_t before = points.size();
    points.erase(std::unique(points.begin(), points.end(),
                             [](const LimitPoint& a, const LimitPoint& b) {
                                 return a.frequency == b.frequency;
                             }),
                 points.end());
    const size_t dropped = before - points.size();
    if (points.size() == 1) {
        out.message = "A limit line needs at least two points of different frequency.";
        return out;
    }
    if (!sorted)
        out.message = "Sorted by frequency.";
    if (dropped > 0) {
        out.message += std::string(out.message.empty() ? "" : " ") + std::to_string(dropped) +
                       (dropped == 1 ? " point" : " points") +
                       " with a repeated frequency dropped (the first kept).";
    }
    out.ok = true;
    out.line = std::move(points);
    return out;
}

LimitCleanup ParseLimitCsv(std::string_view text) {
    std::vector<LimitPoint> points;
    int lineNumber = 0;
    bool seenContent = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++lineNumber;
        if (Blank(line) || Trim(line).front() == '#')
            continue;
        const size_t sep = line.find_first_of(",;\t");
        double f = 0;
        double level = 0;
        const bool ok = sep != std::string_view::npos &&
                        ReadNumber(line.substr(0, sep), true, &f) &&
                        ReadNumber(line.substr(sep + 1), false, &level);
        if (!ok) {
            // A heading is a first line without a digit in it.
            if (!seenContent && line.find_first_of("0123456789") == std::string_view::npos) {
                seenContent = true;
                continue;
            }
            LimitCleanup refused;
            refused.message = "Line " + std::to_string(lineNumber) +
                              ": not a frequency and a level separated by a comma.";
            return refused;
        }
        seenContent = true;
        if (points.size() > static_cast<size_t>(kMaxLimitPoints)) {
            LimitCleanup refused;
            refused.message = "A limit line holds at most " + std::to_string(kMaxLimitPoints) +
                              " points; the text holds more.";
            return refused;
        }
        points.push_back({f, level});
    }
    return CleanLimitPoints(std::move(points));
}

std::string LimitCsv(const LimitLine& line) {
    std::string text = "Frequency (Hz),Level\r\n";
    for (const LimitPoint& p : line)
        text += Number(p.frequency) + "," + Number(p.level) + "\r\n";
    return text;
}

bool LimitAt(const LimitLine& line, double f, double* level) {
    if (line.size() < 2 || !(f >= line.front().frequency) || !(f <= line.back().frequency))
        return false;
    auto next = std::upper_bound(line.begin(), line.end(), f,
                                 [](double v, const LimitPoint& p) { return v < p.frequency; });
    if (next == line.end()) {
        *level = line.back().level;
        return true;
    }
    *level = Interpolate(*(next - 1), *next, f);
    return true;
}

int TracePointLevels(const uint8_t* bytes, int kind, const AxisFrame& frame, double top,
                     int scaleIndex, double* frequencies, double* levels) {
    const int count = bytes == nullptr ? 0 : PointsOfKind(kind);
    const int spacing = count == 251 ? 4 : 1;
    AxisFrame whole = frame;
    whole.xScroll = 0;
    for (int j = 0; j < count; ++j) {
        frequencies[j] = PositionToFrequency(whole, j * spacing);
        levels[j] = ByteLevel(bytes[j], top, scaleIndex);
    }
    return count;
}

namespace {

// Walks a line along rising frequencies; falls back to a search when they do not rise.
class LineWalker {
public:
    explicit LineWalker(const LimitLine& line) : line_(line) {}
    bool At(double f, double* level) {
        if (line_.size() < 2 || !(f >= line_.front().frequency) || !(f <= line_.back().frequency))
            return false;
        if (f < line_[next_ - 1].frequency)
            next_ = 1;
        while (next_ + 1 < line_.size() && line_[next_].frequency < f)
            ++next_;
        *level = Interpolate(line_[next_ - 1], line_[next_], f);
        return true;
    }

private:
    const LimitLine& line_;
    size_t next_ = 1; // the segment ends at this point
};

} // namespace

LimitVerdict JudgeTrace(const double* frequencies, const double* levels, int count,
                        const LimitLine& upper, const LimitLine& lower, std::vector<int>* failing) {
    LimitVerdict verdict;
    if (failing)
        failing->clear();
    LineWalker up(upper);
    LineWalker down(lower);
    for (int j = 0; j < count; ++j) {
        double limit = 0;
        bool fails = false;
        if (up.At(frequencies[j], &limit)) {
            verdict.judged = true;
            fails = levels[j] > limit + kOnLine;
        }
        if (down.At(frequencies[j], &limit)) {
            verdict.judged = true;
            fails = fails || levels[j] < limit - kOnLine;
        }
        if (fails) {
            ++verdict.failures;
            if (failing)
                failing->push_back(j);
        }
    }
    verdict.pass = verdict.failures == 0;
    return verdict;
}

std::vector<GraphPoint> LimitPolyline(const LimitLine& line, const AxisFrame& frame) {
    std::vector<GraphPoint> out;
    if (line.size() < 2 || frame.zeroSpan || !(frame.spanStep > 0))
        return out;
    const double n = VisibleWidth(frame.xZoom);
    const double fLeft = PositionToFrequency(frame, 0);
    const double fRight = PositionToFrequency(frame, n);
    const double lo = std::max(fLeft, line.front().frequency);
    const double hi = std::min(fRight, line.back().frequency);
    if (!(lo <= hi))
        return out;
    auto x = [&](double f) {
        return (f - frame.centerFreq) / frame.spanStep + 500 - frame.xScroll;
    };
    double level = 0;
    LimitAt(line, lo, &level);
    out.push_back({x(lo), level});
    for (const LimitPoint& p : line)
        if (p.frequency > lo && p.frequency < hi)
            out.push_back({x(p.frequency), p.level});
    if (hi > lo) {
        LimitAt(line, hi, &level);
        out.push_back({x(hi), level});
    }
    return out;
}

} // namespace display
