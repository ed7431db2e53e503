#pragma once

#include <QString>

namespace grid {

// Numeric display formats of footers: up to three ";"-separated sections for
// positive, negative and zero values; "0" digit or zero, "#" digit or
// nothing, "." decimal point, "," thousands separators, "E+"/"E-" scientific,
// quoted text verbatim, anything else copied. A section without any digit
// placeholder shows its literal text only.
QString formatFloat(const QString &format, double value);

// The general format: whole numbers as plain digits, others with up to 15
// significant digits.
QString formatGeneral(double value);

} // namespace grid
