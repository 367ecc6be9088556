// The two cubature tables: volumes of one log in m3, row-major, 0 marks a gap.
#pragma once

namespace zel {

// GOST 2708-75: top diameters 3..120 cm by 1 cm, lengths 1.0..9.5 m by 0.1 m.
constexpr int kGostRows = 118;
constexpr int kGostCols = 86;
constexpr int kGostMinD = 3;
constexpr int kGostMinLenDm = 10;

// ISO 4480-83: top diameters 4..79 cm by 1 cm, lengths 0.5..15.0 m by 0.1 m.
constexpr int kIsoRows = 76;
constexpr int kIsoCols = 146;
constexpr int kIsoMinD = 4;
constexpr int kIsoMinLenDm = 5;

extern const double GostVolumeTable[kGostRows * kGostCols];
extern const double IsoVolumeTable[kIsoRows * kIsoCols];

} // namespace zel
