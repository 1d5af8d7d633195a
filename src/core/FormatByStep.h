#pragma once
#include <QString>

// Cuts or rounds a value to the resolution its step text names ("0.01", "0.1", "1", "10", "100"
// and their "0.00" / "0.0" / "0" spellings), returns the text and leaves the corrected value in
// `value`. Any other step gives an empty text and leaves the value alone.
QString FormatByStep(double& value, const QString& step);
