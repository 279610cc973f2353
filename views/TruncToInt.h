#pragma once
// Conversion of a computed extent or position to a whole number of pixels or steps.

#include <climits>
#include <cmath>

// Toward zero, as a cast would, but saturating at the 32-bit limits; NaN gives 0.
inline int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}
