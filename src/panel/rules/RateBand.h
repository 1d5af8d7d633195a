#pragma once
// The rate band rule shared by the rate boxes of the modulation, sweep, trigger, burst and gate
// groups: a confirmed rate is clamped to 0.01..10000 Hz and shown, and stepped, at the resolution
// of its band (100 above 100 Hz, 1 above 1 Hz, 0.01 below). The groups differ in small ways, so the
// rule takes the variant of its group.
#include <QString>
#include <optional>

struct RateBandVariant {
    // Bands [100, 10000], [1, 100), [0.01, 1) instead of (100, 10000], (1, 100], [0.01, 1].
    bool closedAtBottom = false;
    // A step up out of a band lands on the next band's first value: "101" shows 200, "1.01" shows 2.
    bool stepUpCases = true;
    // A rate of exactly 1 keeps its text instead of being shown "1.00".
    bool oneKeepsItsText = true;
    // The 0.01 band is open at the bottom: a rate of exactly 0.01 keeps its text and step.
    bool lowestBandOpen = false;
    // A further band [0.001, 0.01) with step "0.001" and three decimals; anything lower keeps its
    // text and step.
    bool thousandthsBand = false;
};

// Modulation and trigger rates.
constexpr RateBandVariant kModulationRate{};
constexpr RateBandVariant kTriggerRate = kModulationRate;
constexpr RateBandVariant kSweepRate{.lowestBandOpen = true};
constexpr RateBandVariant kBurstRate{.oneKeepsItsText = false};
constexpr RateBandVariant kGateRate{.closedAtBottom = true, .stepUpCases = false, .oneKeepsItsText = false};
constexpr RateBandVariant kOpenGateRate{
    .closedAtBottom = true, .stepUpCases = false, .oneKeepsItsText = false, .thousandthsBand = true};

struct RateBandResult {
    QString text;
    std::optional<QString> step; // nothing: the box keeps its step
};

RateBandResult rateBand(const QString& text, const RateBandVariant& variant);

// The symmetry boxes' rule: a whole number from 10 to 90.
QString symmetryText(const QString& text);
