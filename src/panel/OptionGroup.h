#pragma once
// An option group is an array of option buttons, indexed from 0.
#include <QRadioButton>
#include <array>

// The index of the chosen option, or -1 when none is chosen.
template <size_t N> int checkedIndex(const std::array<QRadioButton*, N>& group) {
    for (size_t i = 0; i < N; ++i)
        if (group[i]->isChecked()) return int(i);
    return -1;
}
