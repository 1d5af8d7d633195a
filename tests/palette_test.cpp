// Every box's text, white and orange, and every caption, measured on the window under each palette.
#include "panel/CaptionLabel.h"
#include "support/WindowFixture.h"

#include <cmath>
#include <map>

namespace {

// Relative luminance and contrast ratio, as the accessibility guidelines define them.
double channel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double luminance(QRgb rgb) {
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}
double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A control's background (its commonest colour) and text (the colour farthest from that) as drawn
// inside its border.
struct Seen {
    QRgb background = 0, text = 0;
    double ratio() const { return contrast(background, text); }
};

Seen seenIn(const QImage& image, QWidget& window, QWidget* control, int border = 0) {
    const QRect logical = QRect(control->mapTo(&window, QPoint(0, 0)), control->size())
                              .adjusted(border, border, -border, -border);
    const qreal scale = image.devicePixelRatio();
    const QRect area = QRect(logical.topLeft() * scale, logical.size() * scale).intersected(image.rect());
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[image.pixel(x, y) | 0xFF000000u];
    Seen seen;
    int most = 0;
    for (const auto& [colour, count] : counts)
        if (count > most) most = count, seen.background = colour;
    seen.text = seen.background;
    for (const auto& [colour, count] : counts)
        if (contrast(colour, seen.background) > contrast(seen.text, seen.background)) seen.text = colour;
    return seen;
}

QPalette darkPalette(QColor window, QColor base, QColor text) {
    QPalette p(text, window, window.lighter(150), window.darker(150), window.lighter(120), text, Qt::white,
               base, window);
    p.setColor(QPalette::Disabled, QPalette::Text, text.darker(160));
    p.setColor(QPalette::Disabled, QPalette::WindowText, text.darker(160));
    return p;
}

// The application hands a palette change on from its event loop, which the tests never enter.
void changeDesktopPalette(const QPalette& palette) {
    QApplication::setPalette(palette);
    QEvent change(QEvent::ApplicationPaletteChange);
    for (QWidget* widget : QApplication::allWidgets())
        QCoreApplication::sendEvent(widget, &change);
}

class PaletteTest : public WindowFixture {
protected:
    void TearDown() override {
        WindowFixture::TearDown();
        QApplication::setPalette(m_saved);
    }
    const QPalette m_saved = QApplication::palette();
};

TEST_F(PaletteTest, EveryBoxAndCaptionReadsUnderEveryPalette) {
    // clang-format off
    const std::pair<const char*, QPalette> cases[] = {{"light", QApplication::style()->standardPalette()},
        {"darker", darkPalette(QColor(0x35, 0x35, 0x35), QColor(0x2a, 0x2a, 0x2a), Qt::white)},
        {"breeze dark", darkPalette(QColor(0x31, 0x36, 0x3b), QColor(0x23, 0x26, 0x29), QColor(0xef, 0xf0, 0xf1))},
        {"high contrast black", darkPalette(Qt::black, Qt::black, Qt::white)},
        {"high contrast white", QPalette(Qt::black, Qt::white, Qt::white, Qt::gray, Qt::lightGray, Qt::black, Qt::red, Qt::white, Qt::white)}};
    // clang-format on
    for (const auto& [name, palette] : cases) {
        SCOPED_TRACE(name);
        QApplication::setPalette(palette);
        frmDXS& w = window();
        Panel& p = w.panel;
        for (int page = 0; page < p.SSTabTrigger->count(); ++page) {
            p.SSTabTrigger->setCurrentIndex(page);
            // Every box on the page as accepted (white), then as edited (orange).
            for (bool edited : {false, true}) {
                for (NumericBox* box : p.boxes())
                    if (box->isVisible()) {
                        box->setText("1000.00");
                        edited ? box->markEdited() : box->markAccepted();
                    }
                const QImage image = w.grab().toImage();
                for (NumericBox* box : p.boxes()) {
                    if (!box->isVisible()) continue;
                    SCOPED_TRACE(box->objectName());
                    const Seen seen = seenIn(image, w, box, 4);
                    EXPECT_EQ(seen.background, edited ? qRgb(255, 128, 0) : qRgb(255, 255, 255));
                    EXPECT_GE(seen.ratio(), 4.5);
                }
                if (edited) continue;
                // Every caption, unit, display label and warning line in sight.
                for (QLabel* label : w.findChildren<QLabel*>()) {
                    if (!label->isVisible() || label->text().trimmed().isEmpty() || label->window() != &w)
                        continue;
                    const Seen seen = seenIn(image, w, label);
                    EXPECT_GE(seen.ratio(), 4.5) << label->text();
                    if (!qobject_cast<CaptionLabel*>(label) && label->objectName() != "lblWarning") continue;
                    EXPECT_GT(qRed(seen.text), qGreen(seen.text) + 32) << label->text();
                }
            }
        }
        // The message line keeps the panel's own colours whatever the desktop's.
        w.setMessage("DXS-4820 <--> PC: [Ready]");
        const Seen line = seenIn(w.grab().toImage(), w, w.txtMessage, 4);
        EXPECT_EQ(line.background, qRgb(192, 255, 192));
        EXPECT_EQ(w.txtMessage->palette().color(QPalette::Text), QColor(Qt::red));
        m_window.reset();
    }
}

// A desktop that turns dark while the window is open: the boxes keep black text, the captions follow.
TEST_F(PaletteTest, CaptionsFollowThePaletteWhileOpen) {
    frmDXS& w = window();
    QLabel* caption = w.panel.Label1[3];
    // On the light desktop the caption is the panel's red, darkened just enough to read.
    const QColor onLight = caption->palette().color(QPalette::WindowText);
    EXPECT_EQ(onLight.rgb(), qRgb(onLight.red(), 0, 0));
    EXPECT_GT(onLight.red(), 150);
    EXPECT_GE(seenIn(w.grab().toImage(), w, caption).ratio(), 4.5);
    changeDesktopPalette(darkPalette(QColor(0x35, 0x35, 0x35), QColor(0x2a, 0x2a, 0x2a), Qt::white));
    const QImage image = w.grab().toImage();
    EXPECT_GE(seenIn(image, w, caption).ratio(), 4.5);
    EXPECT_GE(seenIn(image, w, w.panel.txtMainFreq, 4).ratio(), 4.5);
    changeDesktopPalette(m_saved);
    EXPECT_EQ(caption->palette().color(QPalette::WindowText), onLight);
}

} // namespace
