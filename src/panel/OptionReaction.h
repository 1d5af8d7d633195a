#pragma once
// An option's reaction runs when the option becomes chosen, by the user or by the program, and
// again when the user clicks an option that is already chosen; the program choosing an option
// that is already chosen runs nothing.
#include <functional>

class QRadioButton;

void onOptionChosen(QRadioButton* option, std::function<void()> reaction);
