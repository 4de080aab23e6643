#pragma once
// Shared by the fuzz targets: the record reset before every input and the invariants checked
// after it. A broken invariant prints what broke and aborts, so libFuzzer keeps the input.

#include "instrument_settings.h"
#include "link_state.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Each target's own: one input, on the record the program starts with (fuzz_entry.cpp).
void FuzzInput(const uint8_t* data, std::size_t size);
void FuzzRequire(bool ok, const char* what);
void FuzzResetRecord(); // zeroed, then the defaults, as the program starts
// Up to the first zero byte, at most `limit` characters.
std::string FuzzText(const uint8_t* data, std::size_t size, std::size_t limit);
// Every index inside its table, every field inside its range, every text terminated.
void FuzzCheckRecord();
void FuzzCheckTraceIndexes(const TraceRecord& record, int spanRows);
// The settings, the trace record's settings or the user tables changed since FuzzSnapshot().
void FuzzSnapshot();
bool FuzzRecordChanged();
// Values no default and no seed holds, in every field the settings file keeps but the user texts,
// the model and the spurious calculation.
void SetUnusualSettings();
// Runs every computation that reads the record's levels, offsets and tables.
void FuzzExerciseRecord();
// When the parse changed the record, exercises and checks it again; `recordKindActive` puts the
// trace record's kind in the active slot first (a loaded trace).
void FuzzCheckAndExercise(bool recordKindActive = false);
