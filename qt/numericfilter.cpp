#include "qt/numericfilter.h"

#include "dialog/numericfilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <utility>

namespace {
void SystemBeep() { QApplication::beep(); }

Beeper& CurrentBeeper()
{
    static Beeper beeper = SystemBeep;
    return beeper;
}
} // namespace

void SetNumericFilterBeeper(Beeper beeper) { CurrentBeeper() = beeper ? std::move(beeper) : Beeper(SystemBeep); }

int SelectionStartsAtZero(const QObject* window)
{
    const auto* edit = qobject_cast<const QLineEdit*>(window);
    if (edit == nullptr)
        return 1;
    const int start = edit->hasSelectedText() ? edit->selectionStart() : edit->cursorPosition();
    return start == 0 ? 1 : 0;
}

bool TypedCharacter(const QKeyEvent& event, signed char& code)
{
    // The Delete key types nothing on the platform this filter was made for,
    // though some keyboards here report it as the character 127.
    if (event.key() == Qt::Key_Delete)
        return false;
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    const char32_t character = text.toUcs4().value(0);
    code = character < 0x80 ? static_cast<signed char>(character) : static_cast<signed char>(-1);
    return true;
}

bool NumericFilterPasses(signed char code, const QObject* window)
{
    return NumericCharacterPasses(code, [window] { return SelectionStartsAtZero(window) == 1; });
}

NumericFilter::NumericFilter(QObject* window) : QObject(window) {}

bool NumericFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    signed char code = 0;
    if (!TypedCharacter(*static_cast<QKeyEvent*>(event), code) || NumericFilterPasses(code, watched))
        return false;
    CurrentBeeper()();
    return true;
}

NumericFilter* FindNumericFilter(const QObject* window)
{
    return window == nullptr ? nullptr : window->findChild<NumericFilter*>(QString(), Qt::FindDirectChildrenOnly);
}

bool InstallNumericFilter(QObject* window)
{
    if (window == nullptr)
        return false;
    if (FindNumericFilter(window) != nullptr)
        return true;
    window->installEventFilter(new NumericFilter(window));
    return true;
}
