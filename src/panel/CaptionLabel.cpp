#include "panel/CaptionLabel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <cmath>

namespace {

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double luminance(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.red()) + 0.7152 * linear(rgb.green()) + 0.0722 * linear(rgb.blue());
}

// A little above the 4.5:1 asked for, so the lighter tab page and anti-aliasing keep it.
constexpr double kReadableContrast = 4.7;

// The colour to draw in on this label's desktop background: the given colour where it reads; on a
// light background otherwise the same hue darkened, on a dark one the same hue mixed with white,
// until it reads against the surfaces the label can sit on (the window, or a tab page drawn lighter
// than a button).
QColor readableColour(const QColor& colour, const QPalette& desktop) {
    const QColor window = desktop.color(QPalette::Window);
    const QColor page = desktop.color(QPalette::Button).lighter(130);
    const QColor lightest = luminance(page) > luminance(window) ? page : window;
    QColor mixed = colour;
    if (luminance(lightest) >= luminance(colour)) {
        // A light desktop: the colour is darkened, keeping its hue, until it reads against the
        // darker of the two backgrounds a caption stands on.
        const QColor darkest = luminance(page) < luminance(window) ? page : window;
        for (int step = 1; step <= 50 && contrastRatio(mixed, darkest) < kReadableContrast; ++step) {
            const double keep = 1 - step / 50.0;
            mixed = QColor::fromRgbF(float(colour.redF() * keep), float(colour.greenF() * keep),
                                     float(colour.blueF() * keep));
        }
        return mixed;
    }
    for (int step = 1; step <= 50 && contrastRatio(mixed, lightest) < kReadableContrast; ++step) {
        const double t = step / 50.0;
        mixed = QColor::fromRgbF(float(colour.redF() * (1 - t) + t), float(colour.greenF() * (1 - t) + t),
                                 float(colour.blueF() * (1 - t) + t));
    }
    return mixed;
}

class ReadableColour : public QObject {
public:
    ReadableColour(QLabel* label, const QColor& colour) : QObject(label), m_label(label), m_colour(colour) {
        label->installEventFilter(this);
        apply();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
            apply();
        return false;
    }

private:
    void apply() {
        // The label's palette holds the desktop's colours for every role but its text.
        const QColor wanted = readableColour(m_colour, m_label->palette());
        if (m_label->palette().color(QPalette::WindowText) == wanted) return;
        QPalette colours = m_label->palette();
        colours.setColor(QPalette::WindowText, wanted);
        m_label->setPalette(colours);
    }
    QLabel* m_label;
    QColor m_colour;
};

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void keepColourReadable(QLabel* label, const QColor& colour) {
    new ReadableColour(label, colour);
}

void CaptionLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

CaptionPanel::CaptionPanel(const QString& caption, QWidget* parent, Qt::Orientation orientation)
    : QFrame(parent), m_caption(new QLabel(caption, this)) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    m_caption->setObjectName("caption");
    auto* outer = new QBoxLayout(
        orientation == Qt::Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, this);
    outer->setContentsMargins(4, 1, 4, 1);
    outer->setSpacing(orientation == Qt::Horizontal ? 8 : 0);
    outer->addWidget(m_caption);
    m_content = new QHBoxLayout;
    m_content->setSpacing(6);
    outer->addLayout(m_content);
    outer->addStretch(1);
}

QString CaptionPanel::caption() const {
    return m_caption->text();
}

void CaptionPanel::mouseReleaseEvent(QMouseEvent* event) {
    QFrame::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}
