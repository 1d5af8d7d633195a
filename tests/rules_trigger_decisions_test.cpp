#include "panel/rules/Trigger.h"
#include "support/QtPrint.h"

#include <gtest/gtest.h>

TEST(TriggerDecisions, PhaseIsWholeDegreesFromMinus90To80) {
    const struct {
        const char* typed;
        const char* shown;
    } cases[] = {
        {"9", "9"},  {"95", "80"}, {"12.7", "13"}, {"-100", "-90"}, {"-", "0"},       {"-45", "-45"},
        {"", "0"},   {"81", "80"}, {"80.4", "80"}, {"80.5", "80"},  {"-90.4", "-90"}, {"-90.5", "-90"},
        {"4.", "4"}, {"abc", "0"}, {"045", "45"},  {"-0.4", "0"},   {"1e1", "10"},    {"7x", "7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(trigger::phaseText(QString(c.typed)), QString(c.shown)) << c.typed;
}
