// Drives a modal dialog that the code under test runs with exec(): the
// action runs inside the dialog's event loop once a dialog of type T is
// the active modal widget. A dialog still open afterwards is rejected, and
// one that never shows is reported, so a failing test does not hang.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

template <typename T>
void onNextModal(std::function<void(T *)> action, int timeoutMs = 10000)
{
    auto *poll = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(poll, &QTimer::timeout, [poll, clock, action, timeoutMs] {
        QPointer<T> dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!dialog) {
            if (clock->elapsed() > timeoutMs) {
                poll->deleteLater();
                QFAIL("the modal dialog did not show");
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        action(dialog);
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
    poll->start(10);
}
