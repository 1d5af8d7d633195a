#pragma once
// Two readings of the panel's texts that several groups share: whether a box holds a value to work
// on, and how a time in seconds is shown in the labels under the burst and gate boxes.
#include <QString>
#include <QStringView>

// An empty text, or one that reads as 0, gives a rule nothing to work with.
bool isEmptyOrZero(QStringView text);

// A time in seconds at a fixed number of decimals, "sec" directly behind ("0.0200sec").
QString secondsLabel(double seconds, int decimals);
