#pragma once

// The bits of the "Diagnostic Level" setting: the service switches of every window.
namespace DiagnosticBit {
inline constexpr int kEngineeringWindow = 0x02;   // bENG shown, engineering window reachable
inline constexpr int kColdJunctionDisplay = 0x04; // channel 0 display may show
inline constexpr int kNoMinMaxTracking = 0x08;    // minimum/maximum off, bReset disabled
inline constexpr int kCommsDiagnostics = 0x10;    // diagnostic line, counters, cluster echo
inline constexpr int kMilliVoltRAndColdJunctionCalibration = 0x20; // "MilliVolt/R", Ch0 column
inline constexpr int kCalibrationRecords = 0x40; // factory record-keeping commands
inline constexpr int kSystemFlagField = 0x80;    // configuration window's system flag edit
inline constexpr int kLogMemoryTest = 0x100;     // configuration window's bTestExM
} // namespace DiagnosticBit
