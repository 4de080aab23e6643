#pragma once
// "This changed": whoever writes settings record fields says which, once, and one listener (the
// main view) decides what follows from them: labels, axes, measurement bands and cursors, the
// peak zone, unit labels, the panel's controls. Writers never redraw other parts themselves.

#include <cstdint>
#include <functional>

enum class Field : std::uint32_t {
    CenterFreq = 1u << 0,
    Span = 1u << 1,
    Sweep = 1u << 2,      // sweep time (the zero-span time axis follows it)
    Unit = 1u << 3,       // display unit chosen in the panel
    Scale = 1u << 4,      // dB per division
    MarkerMode = 1u << 5, // normal / delta marker readouts
    Measure = 1u << 6,    // measuring function and its sub-modes
    FieldRef = 1u << 7,   // antenna or probe of the field-strength functions
    Trace = 1u << 8,      // new trace data in the active slot (the acquisition step)
    TraceSlots = 1u << 9, // stored traces replaced: every slot redrawn, the labels kept
    TraceView = 1u << 10, // which slots are shown and which is active
    Result = 1u << 11,    // a new measurement result reply
    Remote = 1u << 12,    // remoteState
    RunState = 1u << 13,  // runState set to held by an operation that needs the analyzer
    Defaults = 1u << 14,  // the whole record put to its defaults (zoom, scroll, controls)
    AutoOff = 1u << 15,   // RBW, VBW and sweep sent as values: the analyzer's auto coupling off
    PeakZone = 1u << 16,  // peak mode, zone centre and width
    Settings = 1u << 17,  // any other analyzer setting
    // Qualifier: the values were read back from the analyzer, which has already moved whatever
    // follows them; the panel and the axes show them, nothing is derived from them.
    FromAnalyzer = 1u << 31,
};

class FieldSet {
public:
    constexpr FieldSet() = default;
    constexpr FieldSet(Field field) : bits_(static_cast<std::uint32_t>(field)) {}
    constexpr FieldSet operator|(FieldSet other) const { return FieldSet(bits_ | other.bits_); }
    // True when any of `fields` is in the set.
    constexpr bool Any(FieldSet fields) const { return (bits_ & fields.bits_) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr std::uint32_t Bits() const { return bits_; }
    constexpr bool operator==(const FieldSet&) const = default;

private:
    constexpr explicit FieldSet(std::uint32_t bits) : bits_(bits) {}
    std::uint32_t bits_ = 0;
};

constexpr FieldSet operator|(Field a, Field b) {
    return FieldSet(a) | FieldSet(b);
}

// The one listener (empty: nobody listens, as in headless tools). Returns the previous one.
using ChangeListener = std::function<void(FieldSet)>;
ChangeListener SetChangeListener(ChangeListener listener);
// Tells the listener that `fields` changed.
void NotifyChanged(FieldSet fields);
