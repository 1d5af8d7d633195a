#include "panel/OptionReaction.h"

#include <QRadioButton>
#include <memory>

namespace {

// Whether the click under way toggled its option: a press on an unchosen option chooses it before
// the click arrives, so only a click that toggled nothing repeats the choice of the chosen option.
struct ClickUnderWay {
    bool toggles = false;
};

void notePress(const QRadioButton* option, ClickUnderWay& click) {
    click.toggles = !option->isChecked();
}

void reactWhenChosen(bool checked, const std::function<void()>& reaction) {
    if (checked) reaction();
}

void reactToRepeatedChoice(ClickUnderWay& click, const std::function<void()>& reaction) {
    if (!click.toggles) reaction();
    click.toggles = false;
}

} // namespace

void onOptionChosen(QRadioButton* option, std::function<void()> reaction) {
    auto click = std::make_shared<ClickUnderWay>();
    QObject::connect(option, &QRadioButton::pressed, option, [option, click] { notePress(option, *click); });
    QObject::connect(option, &QRadioButton::toggled, option,
                     [reaction](bool checked) { reactWhenChosen(checked, reaction); });
    QObject::connect(option, &QRadioButton::clicked, option,
                     [click, reaction] { reactToRepeatedChoice(*click, reaction); });
}
