#pragma once
// Reads a screen record as the program does, written apart from the simulator to check it.

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace simtest {

struct DecodedRecord {
    bool complete = false; // every label found
    std::string center, span, ref, unit, sweepAndDetector, rbw, vbw, scale;
    std::vector<uint8_t> points;
};

inline std::string labelValue(const std::string& text, const std::string& label, size_t offset,
                              bool dropSpaces = true) {
    size_t at = text.find(label);
    if (at == std::string::npos)
        return "\x01missing";
    std::string value;
    for (size_t i = at + offset; i < text.size() && text[i] != '\r'; ++i)
        if (!dropSpaces || text[i] != ' ')
            value += text[i];
    return value;
}

inline DecodedRecord decodeRecord(const std::string& text, size_t maxPoints) {
    DecodedRecord r;
    r.center = labelValue(text, "CF", 3);
    r.span = labelValue(text, "SP", 3);
    r.ref = labelValue(text, "RF", 2);
    for (const char* word : {"dBm\r", "dBuV/m", "dBuV", "dBmV", "dBV", "dBuA/m"})
        if (text.find(word) != std::string::npos) {
            r.unit = word;
            if (r.unit.back() == '\r')
                r.unit.pop_back();
            break;
        }
    r.sweepAndDetector = labelValue(text, "ST", 3);
    r.rbw = labelValue(text, "RB", 3);
    r.vbw = labelValue(text, "VB", 3);
    r.scale = labelValue(text, "SC", 3, false);
    size_t trace = text.find("TRACE");
    r.complete = trace != std::string::npos;
    for (const std::string* v :
         {&r.center, &r.span, &r.ref, &r.sweepAndDetector, &r.rbw, &r.vbw, &r.scale})
        if (*v == "\x01missing" || v->size() > 19)
            r.complete = false;
    if (trace == std::string::npos)
        return r;
    size_t i = trace + 5;
    while (i < text.size() && r.points.size() < maxPoints) {
        if (text[i] < '0') {
            ++i;
            continue;
        }
        unsigned value = 0;
        size_t j = i;
        while (j < text.size() && (std::isxdigit(static_cast<unsigned char>(text[j])) ||
                                   text[j] == ' ' || text[j] == '\t')) {
            if (text[j] != ' ' && text[j] != '\t')
                value = value * 16 + static_cast<unsigned>(
                                         std::strtol(std::string(1, text[j]).c_str(), nullptr, 16));
            ++j;
        }
        r.points.push_back(static_cast<uint8_t>(value & 0xFF));
        i += 3;
    }
    return r;
}

} // namespace simtest
