// Volume of a line of round logs by one of the four measuring methods.
#pragma once

#include <cstdint>

namespace zel {

// Stored as the settings' Method; the order is the order of the settings list.
enum class CalcMethod : std::uint8_t {
    Gost2708 = 0,     // GOST 2708-75 cubature table
    Iso4480 = 1,      // ISO 4480-83 cubature table
    Formula = 2,      // mean of top and butt diameter, taper per running metre
    Cylindered = 3,   // machine-rounded log: a plain cylinder
};

// Index 0..7 of the taper, 0.5 cm of diameter per running metre per step.
using TaperStep = std::uint8_t;

// Taper in cm of diameter per running metre for a TaperStep.
double taperPerMetre(TaperStep step);

// Volume in m3 of c logs of top diameter d (cm) and length l (m).
// Table methods yield 0 where the table has no value (outside it, or a gap).
// Diameter and count are wider than the table ranges need: an edited line may
// carry any whole number, and it must be computed, not wrapped.
double Calculate(std::uint32_t d, double l, std::uint32_t c, CalcMethod cat, TaperStep dgw);

} // namespace zel
