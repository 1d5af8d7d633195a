// The preview window, opened from the menu of the real window and driven through its real boxes.
#include "app/PreviewPlot.h"
#include "app/PreviewWindow.h"
#include "panel/CaptionLabel.h"
#include "rules_window.h"

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

// Options to click, boxes to type into (Enter after a text ending in \n), a part of the preview's words.
using Steps =
    std::tuple<std::vector<QAbstractButton*>, std::vector<std::pair<NumericBox*, QString>>, QString>;

} // namespace

// The menu opens one non-modal window, brought forward when chosen again; only a confirmed change redraws.
TEST_F(PreviewWindowTest, ConfirmedChangeRepaintsAnOrangeEntryDoesNot) {
    PreviewWindow& preview = openPreview();
    EXPECT_TRUE(preview.isVisible() && !preview.isModal());
    EXPECT_EQ(preview.windowTitle(), "Preview");
    window().mnuPreview->trigger();
    settle();
    EXPECT_EQ(window().findChildren<PreviewWindow*>().size(), 1);
    const QImage before = preview.plot()->toImage(QSize(600, 360));
    EXPECT_TRUE(preview.pendingLine()->isHidden());

    type(panel().txtMainFreq, "2000");
    EXPECT_EQ(look(panel().txtMainFreq), "2000 orange");
    EXPECT_EQ(words(preview), "Sine 10 kHz, 5 Vpp, offset 0 V");
    EXPECT_EQ(preview.plot()->toImage(QSize(600, 360)), before);
    EXPECT_TRUE(!preview.pendingLine()->isHidden() && preview.pendingLine()->text().contains("Frequency"));

    const int paints = preview.plot()->paintCount();
    confirm(panel().txtMainFreq);
    EXPECT_EQ(words(preview), "Sine 2 kHz, 5 Vpp, offset 0 V");
    EXPECT_NE(preview.plot()->toImage(QSize(600, 360)), before);
    EXPECT_GT(preview.plot()->paintCount(), paints);
    EXPECT_TRUE(preview.pendingLine()->isHidden());
    EXPECT_EQ(preview.accessibleDescription(), words(preview));
}

TEST_F(PreviewWindowTest, FollowsEveryFunctionMode) {
    PreviewWindow& preview = openPreview();
    enter(panel().txtMainFreq, "1000");
    Panel& p = panel();
    const Steps rows[] = {
        // an option is confirmed as it is chosen; so is a step of the spin buttons
        {{p.optMainFunc[2]}, {}, "Square 1 kHz, 5 Vpp, offset 0 V, duty 50 %"},
        {{p.txtMainDuty->upDown()->upButton()}, {}, "Square 1 kHz, 5 Vpp, offset 0 V, duty 51 %"},
        {{p.optSweep[0]}, {}, "; linear sweep from 1 kHz to 2 kHz every 1 ms, rising for 90 % of it"},
        {{p.optSweepModel[1]}, {}, "; logarithmic sweep from 1 kHz to 2 kHz every 1 ms, rising"},
        {{p.optModulation[0]},
         {},
         "Square 1 kHz, 5 Vpp, offset 0 V, duty 51 %; AM by a 1 kHz sine, depth 50 %"},
        {{p.optModFM}, {{p.txtModRate, "100\n"}}, "; FM by a 100 Hz sine, span 5 % (950 Hz to 1.05 kHz)"},
        // The phase box is never orange: each change counts.
        {{p.optTrigger[0]}, {{p.txtTrgSymmetry, "30\n"}, {p.txtTrgPhase, "45"}}, "30 % from phase 45°"},
        // The burst rules write the trigger fields: 5 cycles of 1 kHz in 10 ms make the symmetry 50.
        {{p.optBurst[0]}, {{p.txtBurstPeriod, "100\n"}, {p.txtBurstCount, "5"}}, "5 cycles every 10 ms"},
        {{p.optGate[0]}, {{p.txtGatePeriod, "100\n"}, {p.txtOpenGatePeriod, "400\n"}}, "2.5 ms every 10 ms"},
        {{p.optExternal[0], p.optGateTimeExt[2]}, {}, "its input, gate time 1 s"},
    };
    for (const auto& [options, typed, part] : rows) {
        for (QAbstractButton* option : options)
            option->click();
        for (const auto& [box, text] : typed)
            text.endsWith('\n') ? enter(box, text.chopped(1)) : type(box, text);
        settle();
        EXPECT_TRUE(words(preview).contains(part)) << words(preview);
        EXPECT_EQ(preview.plot()->picture().words, words(preview));
        expectMessages("");
    }
    EXPECT_TRUE(preview.plot()->picture().tracks.empty());
}

// The preview follows a loaded setting; its picture is saved as PNG or SVG.
TEST_F(PreviewWindowTest, FollowsLoadAndSavesThePictureAsPngOrSvg) {
    const QDir dir(folder());
    enter(panel().txtMainFreq, "2500");
    // The setting saved and loaded again; "notes" gets the kind's suffix.
    dialogs().files = {dir.filePath("a.Log"), dir.filePath("a.Log"), dir.filePath("notes.png"),
                       dir.filePath("notes")};
    window().SaveFile->trigger();
    enter(panel().txtMainFreq, "3000");
    PreviewWindow& preview = openPreview();
    EXPECT_EQ(words(preview), "Sine 3 kHz, 5 Vpp, offset 0 V");
    window().LoadFile->trigger();
    settle();
    EXPECT_EQ(words(preview), "Sine 2.5 kHz, 5 Vpp, offset 0 V");
    preview.savePng->trigger();
    preview.saveSvg->trigger();
    settle();
    expectMessages("");
    EXPECT_GE(QImage(dir.filePath("notes.png")).width(), 600);
    const QString svg = QString::fromUtf8(fileBytes(dir.filePath("notes.svg")));
    EXPECT_TRUE(svg.startsWith("<?xml") && svg.trimmed().endsWith("</svg>")) << svg.left(80);
    for (const char* part : {"<polyline", "Sine 2.5 kHz, 5 Vpp, offset 0 V", "Time (µs)"})
        EXPECT_TRUE(svg.contains(QString::fromUtf8(part))) << part;
    // A file that cannot be written is reported.
    dialogs().files.push_back(dir.filePath("missing-folder/notes.png"));
    preview.savePng->trigger();
    settle();
    ASSERT_EQ(dialogs().messages.size(), 1u);
    EXPECT_TRUE(dialogs().messages[0].text.startsWith("The picture could not be saved to"));
}

TEST(PreviewPlotContrast, CurveAxesAndLabelsKeepFourAndAHalfToOneInLightAndDark) {
    // Part of the envelope outside the shaded range, part inside.
    const preview::Setting am{.amplitude = 7, .offset = 1.5, .function = preview::Function::AM};
    for (const auto& [name, base, text] :
         {std::tuple{"light", QColor(0xff, 0xff, 0xff), QColor(0x10, 0x10, 0x10)},
          std::tuple{"dark", QColor(0x1e, 0x1e, 0x1e), QColor(0xe8, 0xe8, 0xe8)}}) {
        SCOPED_TRACE(name);
        PreviewPlot plot;
        QPalette palette = plot.palette();
        palette.setColor(QPalette::Base, base);
        palette.setColor(QPalette::Text, text);
        plot.setPalette(palette);
        plot.resize(720, 420);
        plot.setPicture(preview::computePicture(am));
        const QImage image = plot.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QHash<QRgb, int> counts;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ++counts[image.pixel(x, y)];
        EXPECT_EQ(image.pixelColor(1, 1), base);
        const PlotColours colours = plot.colours();
        EXPECT_GE(counts.value(colours.shade.rgb()), 720 * 420 / 10) << "the output range not shaded";
        for (const auto& [what, ink] :
             {std::pair{"curve", colours.signal}, std::pair{"envelope", colours.envelope},
              std::pair{"axes and labels", colours.text}}) {
            EXPECT_GE(counts.value(ink.rgb()), 50) << what << " not drawn";
            EXPECT_GE(contrastRatio(ink, base), 4.5) << what;
            EXPECT_GE(contrastRatio(ink, colours.shade), 4.5) << what;
        }
    }
}
