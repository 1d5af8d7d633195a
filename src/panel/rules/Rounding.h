#pragma once
// Showing a value at a resolution: rounded (halves away from zero) to a multiple of 100 or 10, or
// written with a fixed number of decimals.
#include <QString>
#include <QStringView>

// The value divided by the multiple, rounded to a whole number, multiplied back: plain text.
QString roundToMultiple(double value, int multiple);
// The value at the resolution a step text names: "100", "10", "1", "0.1", "0.01"; any other step
// shows two decimals.
QString roundToStep(double value, QStringView step);
