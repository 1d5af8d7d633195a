#pragma once
// A shown main window talking over a pseudo-terminal to the simulated instrument on COM1.
#include "support/PtyInstrument.h"
#include "support/WindowFixture.h"

class SendFixture : public WindowFixture {
protected:
    static constexpr double kFastPacing = 5;

    void SetUp() override {
        WindowFixture::SetUp();
        m_sim = std::make_unique<PtyInstrument>(folder(), 1);
        ASSERT_TRUE(m_sim->isRunning()) << m_sim->errorText().toStdString();
    }
    void TearDown() override {
        WindowFixture::TearDown();
        m_sim.reset();
    }
    // The window once its start-up readiness check is answered, with nothing received kept.
    frmDXS& ready(double pacing = kFastPacing) {
        frmDXS& w = window();
        w.instrument.iWaiting_ms = pacing;
        EXPECT_TRUE(sim().waitForLines(1));
        EXPECT_TRUE(QTest::qWaitFor([&] { return !w.instrument.isExchanging(); }));
        sim().clear();
        return w;
    }
    PtyInstrument& sim() { return *m_sim; }
    // A value as a confirmed entry shows it.
    static void enter(NumericBox* box, const QString& text) {
        box->setText(text);
        box->markAccepted();
    }
    // Typed and confirmed with Return, so the box's rules run.
    static void typeAndEnter(NumericBox* box, const QString& text) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    std::unique_ptr<PtyInstrument> m_sim;
};
