// The units of the printed page: sizes are worked out in millimetres, text
// in points.
#pragma once

namespace arrowgrid {

inline constexpr double MM_PER_INCH = 25.4;
inline constexpr double POINTS_PER_MM = 72.0 / MM_PER_INCH;

}  // namespace arrowgrid
