#include "panel/RateBandBox.h"

#include "panel/NumericBox.h"
#include "panel/rules/RateBand.h"

void applyRateBand(NumericBox* box, const RateBandVariant& variant) {
    const RateBandResult band = rateBand(box->text(), variant);
    if (band.step) box->setTag(*band.step);
    box->setText(band.text);
}
