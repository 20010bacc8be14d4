#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs `act` on the next modal window once it is up, from inside its own
// event loop.
inline void WhenModalShows(std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(modal);
        // A failed check above must not leave the test waiting forever.
        QTimer::singleShot(3000, modal, [modal] {
            if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && dialog->isVisible())
                dialog->reject();
        });
    });
    poll->start();
}

// Runs `act` on the first visible top-level window of type Window once it is
// up, modal or not (the program's dialog, an error box), from inside the
// event loop that shows it.
template <class Window> void WhenWindowShows(std::function<void(Window*)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        Window* shown = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<Window*>(window); candidate != nullptr && candidate->isVisible())
                shown = candidate;
        if (shown == nullptr)
            return;
        poll->stop();
        poll->deleteLater();
        act(shown);
        QTimer::singleShot(3000, shown, [shown] {
            if (shown->isVisible())
                shown->reject();
        });
    });
    poll->start();
}
