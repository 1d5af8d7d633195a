#include "panel/OptionReaction.h"

#include <QRadioButton>
#include <memory>

void onOptionChosen(QRadioButton* option, std::function<void()> reaction) {
    // A user click on an unchosen option toggles it first; only a click that toggled nothing is a
    // repeated choice of the chosen option.
    auto toggledByThisClick = std::make_shared<bool>(false);
    QObject::connect(option, &QRadioButton::pressed, option, [option, toggledByThisClick] {
        *toggledByThisClick = !option->isChecked();
    });
    QObject::connect(option, &QRadioButton::toggled, option, [reaction](bool checked) {
        if (checked) reaction();
    });
    QObject::connect(option, &QRadioButton::clicked, option, [toggledByThisClick, reaction] {
        if (!*toggledByThisClick) reaction();
        *toggledByThisClick = false;
    });
}
