#pragma once
// Shared by the fuzz targets: the record reset before every input and the invariants checked
// after it. A broken invariant prints what broke and aborts, so libFuzzer keeps the input.

#include "instrument_settings.h"
#include "link_state.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

void FuzzRequire(bool ok, const char* what); // aborts with `what` when `ok` is false
void FuzzResetRecord();                      // zeroed, then the defaults, as the program starts
// The input as a text that ends at its first zero byte, at most `limit` characters.
std::string FuzzText(const uint8_t* data, std::size_t size, std::size_t limit);
// Every index inside its table, every field inside its range, every text terminated.
void FuzzCheckRecord();
// The trace record's unit and its indexes inside their tables, the span inside `spanRows`.
void FuzzCheckTraceIndexes(const TraceRecord& record, int spanRows);
// Keeps the record before the parse; FuzzRecordChanged() is true when the parse changed its
// settings, its screen record's settings or its user tables.
void FuzzSnapshot();
bool FuzzRecordChanged();
// Values no default and no seed holds, in every field the settings file keeps but the user texts,
// the model and the spurious calculation.
void SetUnusualSettings();
// Runs the computations that read the record's levels, offsets and tables: references for every
// antenna and probe and every kind, the unit labels, the attenuator, every command text.
void FuzzExerciseRecord();
// Checks the record and, when the parse changed it, exercises and checks it again; with
// `recordKindActive` the trace record's kind is put in the active slot first (a loaded trace).
void FuzzCheckAndExercise(bool recordKindActive = false);
