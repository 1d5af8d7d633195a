#pragma once
// Pure decisions of the trigger tab: what the phase box shows for a given text.
#include <QString>
#include <QStringView>

namespace trigger {

// The phase box's step, set on every change of its text.
inline const QString PhaseStep = QStringLiteral("1");

// Whole degrees from -90 to 80: a decimal point or a lone minus sign is dropped, anything outside
// the range is pulled to its nearer end.
QString phaseText(QStringView text);

// Where the caret goes back after the phase text was rewritten: where the user left it, or the end
// when the text has become shorter.
int phaseCaret(int notedCaret, const QString& newText);

} // namespace trigger
