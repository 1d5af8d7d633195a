#pragma once
// The preview's plot: the tracks of a preview::Picture drawn against a shared time axis, with
// labelled axes, a grid and the instrument's output range shaded. One drawing routine serves the
// screen (QPainter), the PNG export (QPainter on an image) and the SVG export (written as text).
#include "preview/Preview.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QWidget>

// The colours the plot draws with, picked from the palette so that the curve, the axes and the
// labels keep a contrast of at least 4.5:1 against the background and the shaded range.
struct PlotColours {
    QColor background, text, grid, shade, signal, envelope;
    static PlotColours forPalette(const QPalette& palette);
};

class PreviewPlot : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPlot(QWidget* parent = nullptr);

    void setPicture(preview::Picture picture);
    const preview::Picture& picture() const { return m_picture; }
    PlotColours colours() const { return PlotColours::forPalette(palette()); }
    int paintCount() const { return m_paintCount; }

    // The picture at a size, with its line of words under it, for lab notes.
    QImage toImage(QSize size) const;
    QByteArray toSvg(QSize size) const;

    QSize sizeHint() const override { return {720, 420}; }
    QSize minimumSizeHint() const override { return {360, 220}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    preview::Picture m_picture;
    int m_paintCount = 0;
};
