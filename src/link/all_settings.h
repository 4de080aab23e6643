#pragma once
// Reading the analyzer's whole state into the record and panel, and the two menu commands that
// resynchronise program and analyzer.

// Presence check, then every query in the analyzer's order with the panel set after each; with
// no answer, fills the panel from the record without traffic.
void ReadAllSettings();

// Sends the whole record in the analyzer's order, then refreshes the measurement displays.
void SendAllSettings();

// Measurement labels and displays after All Reading or All Setting ("MEASRES" for the occupied
// bandwidth), and the peak zone in zone mode.
void RefreshMeasurementAfterAllSettings();

// "All Reading(&R)" and "All Setting(&S)": refused in compact mode with the message box; pause,
// reconnect, presence check (stop quietly, still paused, when absent), long time-outs, read or
// send everything, resume.
void AllReadingCommand();
void AllSettingCommand();
