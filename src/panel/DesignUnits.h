#pragma once
// The units the window's design is kept in: measures in twips and colours as platform colour
// values. The panel, the help window and the About window all convert through here.
#include <QColor>
#include <QRect>
#include <QWidget>
#include <algorithm>

// A platform colour value is red + 256 * green + 65536 * blue.
inline QColor platformColor(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// A twip is 1/1440 inch, so 15 to a pixel at 96 dots per inch; measures follow the screen's
// logical resolution and round to the nearest pixel.
inline int twipsToPixels(int twips, int logicalDpi) {
    const double twipsPerPixel = 1440.0 / std::max(1, logicalDpi);
    return int(twips / twipsPerPixel + 0.5);
}
inline int twipsToPixels(int twips, const QWidget& widget) {
    return twipsToPixels(twips, widget.logicalDpiY());
}
inline QRect twipsToPixels(const QRect& twips, const QWidget& widget) {
    return {twipsToPixels(twips.x(), widget), twipsToPixels(twips.y(), widget),
            twipsToPixels(twips.width(), widget), twipsToPixels(twips.height(), widget)};
}
