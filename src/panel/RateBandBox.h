#pragma once
// The rate band rule applied to a box: its text and, where the band names one, its step.
struct RateBandVariant;
class NumericBox;

void applyRateBand(NumericBox* box, const RateBandVariant& variant);
