#pragma once
// Modal dialogs block in exec(): a test says beforehand what to do with the
// next one of a given class once it is up.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace vlr::test {

// Runs fn on the next modal widget of class T. Should none come within five
// seconds, every modal widget is closed so the test fails instead of hanging.
template <class T> void whenModal(std::function<void(T*)> fn) {
    auto* timer = new QTimer;
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, fn] {
        if (auto* w = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            fn(w);
        } else if (clock->elapsed() > 5000) {
            timer->stop();
            timer->deleteLater();
            delete clock;
            ADD_FAILURE() << "the expected dialog did not come up";
            while (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                modal->done(QDialog::Rejected);
        }
    });
    timer->start(5);
}

} // namespace vlr::test
