// The preview window, opened from the menu of the real window and driven through its real boxes.
#include "app/PreviewPlot.h"
#include "app/PreviewWindow.h"
#include "panel/CaptionLabel.h"
#include "rules_window.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QMenuBar>

namespace {

class PreviewWindowTest : public RulesWindow {
protected:
    PreviewWindow& openPreview() {
        window().mnuPreview->trigger();
        settle();
        auto* preview = window().findChild<PreviewWindow*>("frmPreview");
        EXPECT_NE(preview, nullptr);
        return *preview;
    }
    static QString words(const PreviewWindow& preview) { return preview.wordsLine()->text(); }
};

// The colours an image holds, by how many pixels hold each.
QHash<QRgb, int> colourCounts(const QImage& image) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++counts[line[x] | 0xff000000];
    }
    return counts;
}

} // namespace

TEST_F(PreviewWindowTest, OpensFromTheMenuNonModalAndAlone) {
    const QList<QAction*> menu = window().menuBar()->actions();
    const auto preview = std::find(menu.begin(), menu.end(), window().mnuPreview);
    ASSERT_NE(preview, menu.end());
    EXPECT_EQ(window().mnuPreview->text().remove('&'), "Preview");
    EXPECT_EQ((*(preview + 1))->text().remove('&'), "Help");

    PreviewWindow& opened = openPreview();
    EXPECT_TRUE(opened.isVisible());
    EXPECT_EQ(opened.windowTitle(), "Preview");
    EXPECT_FALSE(opened.isModal());
    EXPECT_EQ(words(opened), "Sine 10 kHz, 5 Vpp, offset 0 V");
    EXPECT_EQ(opened.accessibleDescription(), words(opened));
    // A second choice of the menu brings the same window forward.
    window().mnuPreview->trigger();
    settle();
    EXPECT_EQ(window().findChildren<PreviewWindow*>().size(), 1);
}

TEST_F(PreviewWindowTest, ConfirmedChangeRepaintsAnOrangeEntryDoesNot) {
    PreviewWindow& preview = openPreview();
    const QImage before = preview.plot()->toImage(QSize(600, 360));
    EXPECT_TRUE(preview.pendingLine()->isHidden());

    type(panel().txtMainFreq, "2000");
    EXPECT_EQ(look(panel().txtMainFreq), "2000 orange");
    EXPECT_EQ(words(preview), "Sine 10 kHz, 5 Vpp, offset 0 V");
    EXPECT_EQ(preview.plot()->toImage(QSize(600, 360)), before);
    EXPECT_FALSE(preview.pendingLine()->isHidden());
    EXPECT_TRUE(preview.pendingLine()->text().contains("Frequency"))
        << preview.pendingLine()->text().toStdString();

    const int paints = preview.plot()->paintCount();
    confirm(panel().txtMainFreq);
    EXPECT_EQ(words(preview), "Sine 2 kHz, 5 Vpp, offset 0 V");
    EXPECT_DOUBLE_EQ(preview.plot()->picture().duration, 1e-3);
    EXPECT_NE(preview.plot()->toImage(QSize(600, 360)), before);
    EXPECT_GT(preview.plot()->paintCount(), paints);
    EXPECT_TRUE(preview.pendingLine()->isHidden());

    // An option is confirmed as it is chosen; so is a step of the spin buttons.
    panel().optMainFunc[2]->click();
    settle();
    EXPECT_EQ(words(preview), "Square 2 kHz, 5 Vpp, offset 0 V, duty 50 %");
    panel().txtMainDuty->upDown()->upButton()->click();
    settle();
    EXPECT_EQ(words(preview), "Square 2 kHz, 5 Vpp, offset 0 V, duty 51 %");
    EXPECT_EQ(preview.accessibleDescription(), words(preview));
}

TEST_F(PreviewWindowTest, FollowsEveryFunctionMode) {
    PreviewWindow& preview = openPreview();
    enter(panel().txtMainFreq, "1000");
    struct Row {
        std::function<void(Panel&)> choose;
        QString words;
        size_t tracks;
    };
    const std::vector<Row> rows = {
        {[](Panel&) {}, "Sine 1 kHz, 5 Vpp, offset 0 V", 1},
        {[](Panel& p) { p.optSweep[0]->click(); },
         "Sine, 5 Vpp, offset 0 V; linear sweep from 1 kHz to 2 kHz every 1 ms, rising for 90 % of it", 2},
        {[](Panel& p) { p.optSweepModel[1]->click(); },
         "Sine, 5 Vpp, offset 0 V; logarithmic sweep from 1 kHz to 2 kHz every 1 ms, rising for 90 % of it",
         2},
        {[](Panel& p) { p.optModulation[0]->click(); },
         "Sine 1 kHz, 5 Vpp, offset 0 V; AM by a 1 kHz sine, depth 50 %", 1},
        {[](Panel& p) {
             p.optModFM->click();
             enter(p.txtModRate, "100");
         },
         "Sine 1 kHz, 5 Vpp, offset 0 V; FM by a 100 Hz sine, span 5 % (950 Hz to 1.05 kHz)", 2},
        {[](Panel& p) {
             p.optTrigger[0]->click();
             enter(p.txtTrgSymmetry, "30");
             type(p.txtTrgPhase, "45"); // never orange: each change counts
         },
         "Sine 1 kHz, 5 Vpp, offset 0 V; triggered (Single) every 10 ms, on for 30 % from phase 45°", 1},
        // The burst rules write the trigger fields: 5 cycles of 1 kHz in 10 ms make the symmetry 50.
        {[](Panel& p) {
             p.optBurst[0]->click();
             enter(p.txtBurstPeriod, "100");
             type(p.txtBurstCount, "5");
         },
         "Sine 1 kHz, 5 Vpp, offset 0 V; burst of 5 cycles every 10 ms", 1},
        // Gate 100 Hz, open gate 400 Hz: open 2.5 ms of 10 ms, the symmetry 25.
        {[](Panel& p) {
             p.optGate[0]->click();
             enter(p.txtGatePeriod, "100");
             enter(p.txtOpenGatePeriod, "400");
         },
         "Sine 1 kHz, 5 Vpp, offset 0 V; gate open 2.5 ms every 10 ms", 1},
        {[](Panel& p) {
             p.optExternal[0]->click();
             p.optGateTimeExt[2]->click();
         },
         "Sine 1 kHz, 5 Vpp, offset 0 V; external counter measuring the frequency at its input, gate time 1 "
         "s",
         0},
    };
    for (const Row& row : rows) {
        row.choose(panel());
        settle();
        EXPECT_EQ(words(preview), row.words);
        EXPECT_EQ(preview.plot()->picture().tracks.size(), row.tracks) << row.words.toStdString();
        expectMessages("");
        dialogs().messages.clear();
    }
    EXPECT_EQ(
        preview.plot()->picture().notes.join(' '),
        "External counter: it measures the frequency of the signal at its input, counting over a gate time "
        "of 1 s.");
}

TEST_F(PreviewWindowTest, FollowsLoad) {
    enter(panel().txtMainFreq, "2500");
    dialogs().files.push_back(QDir(folder()).filePath("a.Log"));
    window().SaveFile->trigger();
    enter(panel().txtMainFreq, "3000");
    PreviewWindow& preview = openPreview();
    EXPECT_EQ(words(preview), "Sine 3 kHz, 5 Vpp, offset 0 V");
    dialogs().files.push_back(QDir(folder()).filePath("a.Log"));
    window().LoadFile->trigger();
    settle();
    EXPECT_EQ(words(preview), "Sine 2.5 kHz, 5 Vpp, offset 0 V");
}

TEST_F(PreviewWindowTest, SavesThePictureAsPngOrSvg) {
    PreviewWindow& preview = openPreview();
    struct Row {
        QAction* PreviewWindow::*action;
        QString name;
    };
    for (const Row& row :
         {Row{&PreviewWindow::savePng, "notes.png"}, Row{&PreviewWindow::saveSvg, "notes"}}) {
        const QString chosen = QDir(folder()).filePath(row.name);
        dialogs().files.push_back(chosen);
        (preview.*row.action)->trigger();
        settle();
        expectMessages("");
        if (row.name.endsWith(".png")) {
            const QImage image(chosen);
            ASSERT_FALSE(image.isNull());
            EXPECT_GE(image.width(), 600);
        } else {
            // A name without a suffix gets the kind's own.
            QFile file(chosen + ".svg");
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QString svg = QString::fromUtf8(file.readAll());
            EXPECT_TRUE(svg.startsWith("<?xml")) << svg.left(80).toStdString();
            EXPECT_TRUE(svg.contains("<polyline"));
            EXPECT_TRUE(svg.contains("Sine 10 kHz, 5 Vpp, offset 0 V"));
            EXPECT_TRUE(svg.contains("Time (µs)"));
            EXPECT_TRUE(svg.trimmed().endsWith("</svg>"));
        }
    }
    // A file that cannot be written is reported.
    dialogs().files.push_back(QDir(folder()).filePath("missing-folder/notes.png"));
    preview.savePng->trigger();
    settle();
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_TRUE(dialogs().messages[0].text.startsWith("The picture could not be saved to"));
}

TEST(PreviewPlotContrast, CurveAxesAndLabelsKeepFourAndAHalfToOneInLightAndDark) {
    preview::Setting am;
    am.frequency = 10000;
    am.function = preview::Function::AM;
    am.offset = 1.5; // part of the envelope outside the shaded range, part inside
    am.amplitude = 7;
    struct Row {
        const char* name;
        QColor base, text;
    };
    for (const Row& row : {Row{"light", QColor(0xff, 0xff, 0xff), QColor(0x10, 0x10, 0x10)},
                           Row{"dark", QColor(0x1e, 0x1e, 0x1e), QColor(0xe8, 0xe8, 0xe8)}}) {
        PreviewPlot plot;
        QPalette palette = plot.palette();
        palette.setColor(QPalette::Base, row.base);
        palette.setColor(QPalette::Text, row.text);
        plot.setPalette(palette);
        plot.resize(720, 420);
        plot.setPicture(preview::computePicture(am));
        const QImage image = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QHash<QRgb, int> counts = colourCounts(image);
        // The two grounds, read from the image: the background in the corner, the shade the commonest
        // other colour.
        const QColor background = image.pixelColor(1, 1);
        EXPECT_EQ(background, row.base) << row.name;
        QRgb shade = 0;
        int most = 0;
        for (auto it = counts.begin(); it != counts.end(); ++it)
            if (it.key() != background.rgb() && it.value() > most) most = it.value(), shade = it.key();
        const PlotColours colours = plot.colours();
        EXPECT_EQ(QColor(shade), colours.shade) << row.name;
        struct Ink {
            const char* what;
            QColor colour;
        };
        for (const Ink& ink : {Ink{"curve", colours.signal}, Ink{"envelope", colours.envelope},
                               Ink{"axes and labels", colours.text}}) {
            EXPECT_GE(counts.value(ink.colour.rgb()), 50) << row.name << " " << ink.what << " not drawn";
            EXPECT_GE(contrastRatio(ink.colour, background), 4.5) << row.name << " " << ink.what;
            EXPECT_GE(contrastRatio(ink.colour, QColor(shade)), 4.5) << row.name << " " << ink.what;
        }
    }
}
