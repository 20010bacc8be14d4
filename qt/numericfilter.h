#pragma once

#include <QObject>

#include <functional>

class QKeyEvent;

// A keystroke filter that applies the number fields' rule
// (dialog/numericfilter.h) to each typed character and drops what fails with
// a beep.

// Sounds the system's default beep; tests replace it.
using Beeper = std::function<void()>;
void SetNumericFilterBeeper(Beeper beeper);

// 1 when the window's selection (or, with nothing selected, its caret)
// starts at position 0, else 0. A window that keeps no selection counts as
// starting at 0.
int SelectionStartsAtZero(const QObject* window);

// The typed character of a key press as a signed 8-bit code: control codes
// 0 to 31, printable ASCII 32 to 127, and every character beyond ASCII
// negative, as the codes 128 to 255 of a single-byte code page are. A key
// press that types nothing has no character; the result is then false.
bool TypedCharacter(const QKeyEvent& event, signed char& code);

// The rule for one typed character on this window: true to pass it on.
bool NumericFilterPasses(signed char code, const QObject* window);

// The filter itself: an event filter for the window it is installed on.
class NumericFilter : public QObject {
    Q_OBJECT
public:
    explicit NumericFilter(QObject* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs the filter on the window; the filter goes with the window. A
// second installation on the same window changes nothing. Returns true when
// the filter is in place.
bool InstallNumericFilter(QObject* window);

// The filter installed on the window, or null.
NumericFilter* FindNumericFilter(const QObject* window);
