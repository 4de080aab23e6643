#include "trace_kinds.h"

namespace tracekind {

namespace {
// Electric-field kinds by antenna index 0..6, then magnetic by probe 0..1.
constexpr int kElectric1001[] = {10, 11, 12, 13, 15, 14, 38};
constexpr int kElectric251[] = {20, 21, 22, 23, 25, 24, 39};
constexpr int kMagnetic1001[] = {16, 17};
constexpr int kMagnetic251[] = {26, 27};

template <int N> int indexIn(const int (&codes)[N], int kind) {
    for (int i = 0; i < N; ++i) {
        if (codes[i] == kind) {
            return i;
        }
    }
    return -1;
}
} // namespace

bool isKnownKind(int kind) {
    return kind == 0 || kind == 1 || kind == 2 || (kind >= 10 && kind <= 17) ||
           (kind >= 20 && kind <= 39);
}

int pointCount(int kind) {
    if (!isKnownKind(kind) || kind == kEmpty) {
        return 0;
    }
    if (kind == 1 || (kind >= 10 && kind <= 17) || kind == 38) {
        return 1001;
    }
    if (kind >= 30 && kind <= 37) {
        return kind % 2 == 0 ? 251 : 1001;
    }
    return 251; // 0, 20..29, 39
}

bool isElectricFieldKind(int kind) {
    return (kind >= 10 && kind <= 15) || (kind >= 20 && kind <= 25) || kind == 28 || kind == 38 ||
           kind == 39;
}

bool isMagneticFieldKind(int kind) {
    return kind == 16 || kind == 17 || kind == 26 || kind == 27 || kind == 29;
}

bool isFieldStrengthKind(int kind) {
    return isElectricFieldKind(kind) || isMagneticFieldKind(kind);
}

int antennaOfKind(int kind) {
    const int i = indexIn(kElectric1001, kind);
    return i >= 0 ? i : indexIn(kElectric251, kind);
}

int probeOfKind(int kind) {
    const int i = indexIn(kMagnetic1001, kind);
    return i >= 0 ? i : indexIn(kMagnetic251, kind);
}

int unitOfKind(int kind) {
    if (isElectricFieldKind(kind)) {
        return kUnitElectricField;
    }
    if (isMagneticFieldKind(kind)) {
        return kUnitMagneticField;
    }
    if (kind >= 30 && kind <= 37) {
        return (kind - 30) / 2;
    }
    return -1;
}

int electricFieldKind(int antennaIndex, bool detailed) {
    if (antennaIndex < 0 || antennaIndex > 6) {
        return -1;
    }
    return detailed ? kElectric1001[antennaIndex] : kElectric251[antennaIndex];
}

int magneticFieldKind(int probeIndex, bool detailed) {
    if (probeIndex < 0 || probeIndex > 1) {
        return -1;
    }
    return detailed ? kMagnetic1001[probeIndex] : kMagnetic251[probeIndex];
}

} // namespace tracekind
