// The sweep group: the segment chooser and the Enter rules of the six sweep boxes. Start and stop
// set span and center, span and center set start and stop, all within the chosen segment; the
// sweep-check state keeps a rule's writes into the other frequency boxes from starting their rules.
#include "core/NumberText.h"
#include "panel/NumericBox.h"
#include "panel/PanelWiring.h"
#include "panel/RateBandBox.h"
#include "panel/RuleContext.h"
#include "panel/SynchronisedCopies.h"
#include "panel/rules/BoxText.h"
#include "panel/rules/HelpPositions.h"
#include "panel/rules/RateBand.h"
#include "panel/rules/SweepSegments.h"

#include <QLabel>
#include <QScrollBar>

using numtext::lenientValue;

namespace {

enum SweepCheck { Idle = 0, FromStart = 1, FromStop = 2, FromSpan = 3, FromCenter = 4 };

const char* const kCenterMessage = "Please change the value of Center Freq";

const SweepSegment& currentSegment(RuleContext& ctx) {
    return sweepSegment(int(lenientValue(ctx.panel.lblSweepSegNo->text())));
}

void chooseSegment(RuleContext& ctx, int number) {
    Panel& panel = ctx.panel;
    panel.lblSweepSegNo->setText(QString::number(number));
    const SegmentTexts texts = segmentTexts(number);
    panel.txtSweepStopFreq->clear();
    panel.txtSweepStartFreq->setText(texts.start);
    panel.txtSweepStopFreq->setText(texts.stop);
    panel.txtSweepCenterFreq->clear();
    panel.txtSweepSpan->setText(texts.span);
    panel.txtSweepCenterFreq->setText(texts.center);
}

// The start and stop rules share their shape: the edited box is corrected, the steps follow its
// band, and span and center are rewritten from both edges.
void confirmEdge(RuleContext& ctx, bool isStart) {
    Panel& panel = ctx.panel;
    NumericBox* box = isStart ? panel.txtSweepStartFreq : panel.txtSweepStopFreq;
    NumericBox* other = isStart ? panel.txtSweepStopFreq : panel.txtSweepStartFreq;
    if (isEmptyOrZero(box->text()) || ctx.sweepCheckState != Idle) {
        if (!isStart) {
            panel.txtSweepStartFreq->markAccepted();
            panel.txtSweepStopFreq->markAccepted();
        }
        return;
    }
    const double value = lenientValue(box->text());
    const SweepEdgeResult result = isStart ? sweepStart(value, other->text(), currentSegment(ctx))
                                           : sweepStop(value, other->text(), currentSegment(ctx));
    if (result.message) askWithHelp(ctx, segmentMessageText(*result.message), StartFreqCaption);
    box->setText(result.text);
    box->setTag(result.step);
    panel.txtSweepSpan->setTag(result.step);
    panel.txtSweepCenterFreq->setTag(result.step);
    ctx.record.setText(isStart ? RecordField::SweepStart : RecordField::SweepStop, box->text());
    panel.txtSweepStartFreq->markAccepted();
    panel.txtSweepStopFreq->markAccepted();
    if (result.span && !panel.txtSweepStartFreq->text().isEmpty() &&
        !panel.txtSweepStopFreq->text().isEmpty() && ctx.sweepCheckState == Idle) {
        ctx.sweepCheckState = isStart ? FromStart : FromStop;
        panel.txtSweepCenterFreq->clear();
        panel.txtSweepSpan->setText(*result.span);
        panel.txtSweepCenterFreq->setText(*result.center);
        ctx.sweepCheckState = Idle;
    }
}

void confirmSpanOrCenter(RuleContext& ctx, bool isSpan) {
    Panel& panel = ctx.panel;
    if (isEmptyOrZero(panel.txtSweepSpan->text()) || isEmptyOrZero(panel.txtSweepCenterFreq->text()) ||
        ctx.sweepCheckState != Idle)
        return;
    const SpanCenterResult result = sweepSpanCenter(lenientValue(panel.txtSweepSpan->text()),
                                                    lenientValue(panel.txtSweepCenterFreq->text()),
                                                    currentSegment(ctx), panel.txtSweepSpan->Tag());
    if (result.accepted) {
        ctx.sweepCheckState = isSpan ? FromSpan : FromCenter;
        panel.txtSweepStartFreq->setText(result.start);
        panel.txtSweepStopFreq->setText(result.stop);
        ctx.sweepCheckState = Idle;
        panel.txtSweepSpan->markAccepted();
        panel.txtSweepCenterFreq->markAccepted();
    } else if (isSpan) {
        askWithHelp(ctx, segmentMessageText(SegmentMessage::StartBelow), SweepSpanCaption);
    } else {
        ctx.dialogs().message(kCenterMessage, UserDialogs::Buttons::Ok, UserDialogs::Icon::None);
    }
    if (isSpan) panel.txtSweepCenterFreq->setFocus();
}

void confirmSweepRate(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtSweepRate;
    applyRateBand(box, kSweepRate);
    box->markAccepted();
    copySynchronised(ctx, box);
}

void confirmSweepSymmetry(RuleContext& ctx) {
    NumericBox* box = ctx.panel.txtSweepSymmetry;
    box->setText(symmetryText(box->text()));
    box->markAccepted();
    copySynchronised(ctx, box);
}

// Typing in start or stop (or span or center) marks the pair as edited.
void markPairEdited(NumericBox* first, NumericBox* second) {
    first->markEdited();
    second->markEdited();
}

} // namespace

void installSweepGroup(RuleContext& ctx) {
    Panel& panel = ctx.panel;

    // The segment table is a constant; the chooser rewrites the four frequency boxes whenever its
    // value changes, by the user or by a restored setting.
    QObject::connect(panel.HScrollSweep, &QScrollBar::valueChanged, &ctx.window,
                     [&ctx](int number) { chooseSegment(ctx, number); });

    NumericBox* const start = panel.txtSweepStartFreq;
    NumericBox* const stop = panel.txtSweepStopFreq;
    NumericBox* const span = panel.txtSweepSpan;
    NumericBox* const center = panel.txtSweepCenterFreq;
    start->keyPressRule = [start, stop](int) { markPairEdited(start, stop); };
    stop->keyPressRule = [start, stop](int) { markPairEdited(start, stop); };
    span->keyPressRule = [span, center](int) { markPairEdited(span, center); };
    center->keyPressRule = [span, center](int) { markPairEdited(span, center); };

    panel.txtSweepStartFreq->enterRule = [&ctx] { confirmEdge(ctx, true); };
    panel.txtSweepStopFreq->enterRule = [&ctx] { confirmEdge(ctx, false); };
    panel.txtSweepSpan->enterRule = [&ctx] { confirmSpanOrCenter(ctx, true); };
    panel.txtSweepCenterFreq->enterRule = [&ctx] { confirmSpanOrCenter(ctx, false); };

    panel.txtSweepRate->enterRule = [&ctx] { confirmSweepRate(ctx); };
    panel.txtSweepSymmetry->enterRule = [&ctx] { confirmSweepSymmetry(ctx); };
}
