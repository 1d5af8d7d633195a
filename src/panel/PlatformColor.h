#pragma once
// Colours are kept as platform colour values: red + 256 * green + 65536 * blue.
#include <QColor>

inline QColor platformColor(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
