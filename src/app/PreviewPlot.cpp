#include "app/PreviewPlot.h"

#include "panel/CaptionLabel.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {

double channel(double value) {
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}
double luminance(const QColor& c) {
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}
// In whole 8-bit steps, as the screen and the image hold it.
QColor mix(const QColor& a, const QColor& b, double share) {
    auto blend = [&](int x, int y) { return int(std::lround(x * (1 - share) + y * share)); };
    return QColor(blend(a.red(), b.red()), blend(a.green(), b.green()), blend(a.blue(), b.blue()));
}
// The first candidate that stands out 4.5:1 from every ground; else black or white, whichever does.
QColor legible(std::initializer_list<QColor> candidates, std::initializer_list<QColor> grounds) {
    auto fits = [&](const QColor& c) {
        return std::all_of(grounds.begin(), grounds.end(),
                           [&](const QColor& g) { return contrastRatio(c, g) >= 4.5; });
    };
    for (const QColor& c : candidates)
        if (fits(c)) return c;
    const QColor black(Qt::black), white(Qt::white);
    return fits(black) ? black : white;
}

// Where one drawing goes: a QPainter or SVG text.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void rect(const QRectF& area, const QColor& fill) = 0;
    virtual void polyline(const QPolygonF& points, const QColor& colour, double width) = 0;
    virtual void polygon(const QPolygonF& points, const QColor& fill) = 0;
    // Text on a baseline at `at`, anchored at its left, centre or right end.
    virtual void text(const QPointF& at, const QString& text, const QColor& colour, Qt::Alignment anchor) = 0;
};

class PainterCanvas : public Canvas {
public:
    PainterCanvas(QPainter& painter, const QFont& font) : m_painter(painter), m_metrics(font) {
        m_painter.setFont(font);
        m_painter.setRenderHint(QPainter::Antialiasing, true);
    }
    void rect(const QRectF& area, const QColor& fill) override { m_painter.fillRect(area, fill); }
    void polyline(const QPolygonF& points, const QColor& colour, double width) override {
        m_painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        m_painter.setBrush(Qt::NoBrush);
        // A wide antialiased stroke costs far more as one long path over many cycles than as short
        // pieces: the pieces share their end points and round joins hide the seams.
        constexpr qsizetype Piece = 48;
        for (qsizetype from = 0; from + 1 < points.size(); from += Piece)
            m_painter.drawPolyline(points.constData() + from, int(std::min(Piece + 1, points.size() - from)));
    }
    void polygon(const QPolygonF& points, const QColor& fill) override {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(fill);
        m_painter.drawPolygon(points);
    }
    void text(const QPointF& at, const QString& text, const QColor& colour, Qt::Alignment anchor) override {
        const double width = m_metrics.horizontalAdvance(text);
        const double x = anchor & Qt::AlignRight     ? at.x() - width
                         : anchor & Qt::AlignHCenter ? at.x() - width / 2
                                                     : at.x();
        m_painter.setPen(colour);
        m_painter.drawText(QPointF(x, at.y()), text);
    }

private:
    QPainter& m_painter;
    QFontMetricsF m_metrics;
};

QString svgColour(const QColor& c) {
    return c.name(QColor::HexRgb);
}
QString svgNumber(double v) {
    return QString::number(v, 'f', 2);
}
QString svgEscaped(QString text) {
    return text.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;").replace('"', "&quot;");
}
QString svgPoints(const QPolygonF& points) {
    QString list;
    list.reserve(points.size() * 14);
    for (const QPointF& p : points)
        list += svgNumber(p.x()) + ',' + svgNumber(p.y()) + ' ';
    return list.trimmed();
}

class SvgCanvas : public Canvas {
public:
    SvgCanvas(QSize size, const QFont& font) {
        m_text = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                                "viewBox=\"0 0 %1 %2\" font-family=\"%3\" font-size=\"%4px\">\n")
                     .arg(size.width())
                     .arg(size.height())
                     .arg(svgEscaped(font.family()), svgNumber(QFontMetricsF(font).ascent() * 0.95));
    }
    void rect(const QRectF& a, const QColor& fill) override {
        m_text += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>\n")
                      .arg(svgNumber(a.x()), svgNumber(a.y()), svgNumber(a.width()), svgNumber(a.height()),
                           svgColour(fill));
    }
    void polyline(const QPolygonF& points, const QColor& colour, double width) override {
        m_text += QStringLiteral("<polyline fill=\"none\" stroke=\"%1\" stroke-width=\"%2\" "
                                 "stroke-linejoin=\"round\" stroke-linecap=\"round\" points=\"%3\"/>\n")
                      .arg(svgColour(colour), svgNumber(width), svgPoints(points));
    }
    void polygon(const QPolygonF& points, const QColor& fill) override {
        m_text += QStringLiteral("<polygon fill=\"%1\" fill-opacity=\"%2\" points=\"%3\"/>\n")
                      .arg(svgColour(fill), svgNumber(fill.alphaF()), svgPoints(points));
    }
    void text(const QPointF& at, const QString& text, const QColor& colour, Qt::Alignment anchor) override {
        const QString where = anchor & Qt::AlignRight     ? QStringLiteral("end")
                              : anchor & Qt::AlignHCenter ? QStringLiteral("middle")
                                                          : QStringLiteral("start");
        m_text += QStringLiteral("<text x=\"%1\" y=\"%2\" fill=\"%3\" text-anchor=\"%4\">%5</text>\n")
                      .arg(svgNumber(at.x()), svgNumber(at.y()), svgColour(colour), where, svgEscaped(text));
    }
    QByteArray finish() { return (m_text + QStringLiteral("</svg>\n")).toUtf8(); }

private:
    QString m_text;
};

// Ticks at 1, 2 or 5 times a power of ten, about five across the range.
std::vector<double> ticks(double low, double high) {
    std::vector<double> values;
    const double span = high - low;
    if (!(span > 0) || !std::isfinite(span)) return values;
    const double raw = span / 5, magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = magnitude;
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * magnitude >= raw) {
            step = factor * magnitude;
            break;
        }
    for (double k = std::ceil(low / step); k * step <= high + step * 1e-9; ++k)
        values.push_back(std::abs(k) < 1e-9 ? 0.0 : k * step);
    return values;
}
QString tickLabel(double value, double factor) {
    QString text = QString::number(value / factor, 'g', 6);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

// Length of a line in pixels.
double lengthOf(const QPolygonF& points) {
    double length = 0;
    for (qsizetype i = 1; i < points.size(); ++i)
        length += std::hypot(points[i].x() - points[i - 1].x(), points[i].y() - points[i - 1].y());
    return length;
}

// A dashed line as the pieces of its dashes: a toolkit's dashed wide stroke costs many times more.
std::vector<QPolygonF> dashes(const QPolygonF& points, double on = 8, double off = 5) {
    std::vector<QPolygonF> pieces;
    if (points.size() < 2) return pieces;
    QPolygonF piece{points.first()};
    bool drawing = true;
    double left = on; // of the current dash or gap
    for (qsizetype i = 1; i < points.size(); ++i) {
        QPointF from = points[i - 1];
        const QPointF to = points[i];
        double length = std::hypot(to.x() - from.x(), to.y() - from.y());
        while (length > left) {
            const QPointF at = from + (to - from) * (left / length);
            if (drawing) {
                piece.append(at);
                pieces.push_back(piece);
            }
            piece = QPolygonF{at};
            length -= left;
            from = at;
            drawing = !drawing;
            left = drawing ? on : off;
        }
        left -= length;
        if (drawing) piece.append(to);
    }
    if (drawing && piece.size() > 1) pieces.push_back(piece);
    return pieces;
}

// Points closer than half a pixel to the last one kept add nothing to the line.
QPolygonF thinned(const QPolygonF& points) {
    QPolygonF kept;
    kept.reserve(points.size());
    for (qsizetype i = 0; i < points.size(); ++i) {
        const QPointF& p = points[i];
        if (!kept.isEmpty() && i + 1 < points.size() && std::abs(p.x() - kept.last().x()) < 0.5 &&
            std::abs(p.y() - kept.last().y()) < 0.5)
            continue;
        kept.append(p);
    }
    return kept;
}

void drawPicture(Canvas& canvas, const preview::Picture& picture, QSizeF size, const PlotColours& colours,
                 const QFont& font, bool withWords) {
    using namespace preview;
    const QFontMetricsF metrics(font);
    const double line = metrics.height(), gap = 6;
    canvas.rect(QRectF(QPointF(0, 0), size), colours.background);

    // Lines of text at the bottom: the notes, then (for exports) the words.
    QStringList bottomLines = picture.notes;
    if (withWords && !picture.words.isEmpty()) bottomLines << picture.words;
    double bottom = size.height() - gap - bottomLines.size() * line;
    for (qsizetype i = 0; i < bottomLines.size(); ++i)
        canvas.text(QPointF(gap, bottom + i * line + metrics.ascent()), bottomLines[i], colours.text,
                    Qt::AlignLeft);
    if (picture.tracks.empty() || !(picture.duration > 0)) return;

    // The time axis: ticks and their labels, then its title.
    const Prefix timePrefix = prefixFor(picture.duration, QStringLiteral("s"));
    bottom -= 2 * line + gap;
    const double axisY = bottom;

    // The left margin fits the widest tick label of any track.
    struct TrackLayout {
        Prefix prefix;
        QString unit;
        std::vector<double> ticks;
    };
    std::vector<TrackLayout> layouts;
    double labelWidth = metrics.horizontalAdvance(QStringLiteral("-0.0"));
    for (const Track& track : picture.tracks) {
        TrackLayout layout;
        layout.unit = track.quantity == Quantity::Volts ? QStringLiteral("V") : QStringLiteral("Hz");
        layout.prefix = prefixFor(std::max(std::abs(track.low), std::abs(track.high)), layout.unit);
        layout.ticks = ticks(track.low, track.high);
        for (double t : layout.ticks)
            labelWidth = std::max(labelWidth, metrics.horizontalAdvance(tickLabel(t, layout.prefix.factor)));
        layouts.push_back(layout);
    }
    const double left = gap + labelWidth + gap,
                 right = size.width() - gap - metrics.horizontalAdvance('0') * 2;
    const double top = gap;
    const double trackGap = line + gap; // each track's title above it
    const double perTrack = (axisY - top) / picture.tracks.size();
    if (right - left < 20 || perTrack - trackGap < 20) return;
    auto xOf = [&](double t) { return left + (right - left) * t / picture.duration; };
    const std::vector<double> timeTicks = ticks(0, picture.duration);

    for (size_t index = 0; index < picture.tracks.size(); ++index) {
        const Track& track = picture.tracks[index];
        const TrackLayout& layout = layouts[index];
        const QRectF area(QPointF(left, top + index * perTrack + trackGap),
                          QPointF(right, top + (index + 1) * perTrack));
        auto yOf = [&](double v) {
            return area.bottom() - area.height() * (v - track.low) / (track.high - track.low);
        };
        const QString title =
            track.quantity == Quantity::Volts ? QStringLiteral("Voltage") : QStringLiteral("Frequency");
        canvas.text(QPointF(area.left(), area.top() - gap / 2 - metrics.descent()),
                    QStringLiteral("%1 (%2%3)").arg(title, layout.prefix.symbol, layout.unit), colours.text,
                    Qt::AlignLeft);
        if (track.outputRange) {
            const double upper = std::clamp(yOf(OutputPeak), area.top(), area.bottom());
            const double lower = std::clamp(yOf(-OutputPeak), area.top(), area.bottom());
            if (lower > upper)
                canvas.rect(QRectF(area.left(), upper, area.width(), lower - upper), colours.shade);
        }
        for (double v : layout.ticks) {
            const double y = yOf(v);
            canvas.polyline(QPolygonF({QPointF(area.left(), y), QPointF(area.right(), y)}), colours.grid, 1);
            canvas.text(QPointF(area.left() - gap, y + metrics.ascent() / 2 - 1),
                        tickLabel(v, layout.prefix.factor), colours.text, Qt::AlignRight);
        }
        for (double t : timeTicks)
            canvas.polyline(QPolygonF({QPointF(xOf(t), area.top()), QPointF(xOf(t), area.bottom())}),
                            colours.grid, 1);
        for (const Trace& trace : track.traces) {
            QPolygonF points;
            points.reserve(qsizetype(trace.time.size()));
            for (size_t i = 0; i < trace.time.size(); ++i)
                points.append(QPointF(xOf(trace.time[i]), yOf(trace.value[i])));
            if (trace.style == Trace::Style::Band) {
                QPolygonF outline = points;
                for (size_t i = trace.time.size(); i-- > 0;)
                    outline.append(QPointF(xOf(trace.time[i]), yOf(trace.lower[i])));
                QColor fill = colours.signal;
                fill.setAlphaF(0.35f);
                canvas.polygon(outline, fill);
                canvas.polyline(outline.mid(0, points.size()), colours.signal, 1);
                canvas.polyline(outline.mid(points.size()), colours.signal, 1);
            } else if (trace.style == Trace::Style::Envelope) {
                for (const QPolygonF& dash : dashes(thinned(points)))
                    canvas.polyline(dash, colours.envelope, 2);
            } else {
                // A wide antialiased stroke costs by its length: a curve of many cycles is drawn thin,
                // which also keeps its cycles apart.
                const QPolygonF line = thinned(points);
                canvas.polyline(line, colours.signal, lengthOf(line) > 12 * area.width() ? 1 : 2);
            }
        }
        // The axes themselves.
        canvas.polyline(QPolygonF({area.topLeft(), area.bottomLeft(), area.bottomRight()}), colours.text, 1);
    }
    for (double t : timeTicks)
        canvas.text(QPointF(xOf(t), axisY + metrics.ascent() + 2), tickLabel(t, timePrefix.factor),
                    colours.text, Qt::AlignHCenter);
    canvas.text(QPointF((left + right) / 2, axisY + line + metrics.ascent() + 2),
                QStringLiteral("Time (%1s)").arg(timePrefix.symbol), colours.text, Qt::AlignHCenter);
}

} // namespace

PlotColours PlotColours::forPalette(const QPalette& palette) {
    PlotColours c;
    c.background = palette.color(QPalette::Base);
    const bool dark = luminance(c.background) < 0.25;
    c.shade = mix(c.background, QColor(0x33, 0xaa, 0x77), dark ? 0.22 : 0.14);
    c.grid = mix(c.background, palette.color(QPalette::Text), 0.18);
    c.text = legible({palette.color(QPalette::Text)}, {c.background, c.shade});
    c.signal = dark ? legible({QColor(0x8f, 0xd3, 0xff), QColor(0xff, 0xd1, 0x66)}, {c.background, c.shade})
                    : legible({QColor(0x0b, 0x3d, 0x91), QColor(0x00, 0x33, 0x66)}, {c.background, c.shade});
    c.envelope = dark
                     ? legible({QColor(0xff, 0xa8, 0xd0), QColor(0xff, 0xd1, 0x66)}, {c.background, c.shade})
                     : legible({QColor(0xa0, 0x1c, 0x5a), QColor(0x80, 0x10, 0x40)}, {c.background, c.shade});
    return c;
}

PreviewPlot::PreviewPlot(QWidget* parent) : QWidget(parent) {
    setObjectName("previewPlot");
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPlot::setPicture(preview::Picture picture) {
    m_picture = std::move(picture);
    update();
}

void PreviewPlot::paintEvent(QPaintEvent*) {
    ++m_paintCount;
    QPainter painter(this);
    PainterCanvas canvas(painter, font());
    drawPicture(canvas, m_picture, size(), colours(), font(), false);
}

QImage PreviewPlot::toImage(QSize size) const {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    PainterCanvas canvas(painter, font());
    drawPicture(canvas, m_picture, size, colours(), font(), true);
    return image;
}

QByteArray PreviewPlot::toSvg(QSize size) const {
    SvgCanvas canvas(size, font());
    drawPicture(canvas, m_picture, size, colours(), font(), true);
    return canvas.finish();
}
