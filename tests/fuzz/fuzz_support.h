#pragma once
// Shared by the fuzz targets: the record reset before every input and the invariants checked
// after it. A broken invariant prints what broke and aborts, so libFuzzer keeps the input.

#include <cstddef>
#include <cstdint>
#include <string>

// The record as the program starts: zeroed, then its defaults.
void FuzzResetRecord();

// Every index inside its table, every field inside its range, every text terminated.
void FuzzCheckRecord();

struct TraceRecord;
// The trace record's unit and its indexes inside their tables, the span inside `spanRows`.
void FuzzCheckTraceIndexes(const TraceRecord& record, int spanRows);

// Aborts with `what` when `ok` is false.
void FuzzRequire(bool ok, const char* what);

// The input as a text that ends at its first zero byte, at most `limit` characters.
std::string FuzzText(const uint8_t* data, std::size_t size, std::size_t limit);

// Keeps the record as it stands before the input is parsed.
void FuzzSnapshot();
// True when the parse changed the record's settings, its screen record's settings or its user
// tables from the snapshot; the targets exercise the record only then.
bool FuzzRecordChanged();

// Values no default and no seed holds, in every field the settings file keeps but the user texts,
// the model and the spurious calculation.
void SetUnusualSettings();

// Runs the computations that read the record's levels, offsets and tables: references for every
// antenna and probe and every kind, the unit labels, the attenuator, every command text.
void FuzzExerciseRecord();

// After a parse: checks the record and, when the parse changed it, exercises and checks it again.
// With `recordKindActive` the trace record's kind is put in the active slot first, as a loaded
// trace is shown.
void FuzzCheckAndExercise(bool recordKindActive = false);
