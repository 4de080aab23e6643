#pragma once
// The analyzer's screen record: labelled settings lines and the trace as hexadecimal points.

// Parses rxBuffer as a screen record of `points` (250 or 1000) points into traceRecord,
// tracePoints, row activeTraceSlot of traceStore and unchangedTraceCount. A missing label ends
// the parse there; what follows keeps its old values. Reads only up to the end of the text.
void ParseScreenRecord(int points);
// Points the last ParseScreenRecord took (0 when the record had no "TRACE"): a whole record has
// one more than its nominal count.
int LastScreenRecordPoints();
