#pragma once
// Helpers for driving dialogs: modal ones block in exec(), so a test says
// beforehand what to do with the next one of a given class once it is up.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
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

// The non-empty texts of the widget's labels.
inline QStringList labelTexts(const QWidget& w) {
    QStringList out;
    for (const QLabel* l : w.findChildren<QLabel*>())
        if (!l->text().isEmpty())
            out << l->text();
    return out;
}

// Types text into the widget; Cyrillic cannot go through QTest::keyClicks.
inline void typeText(QWidget* w, const QString& text) {
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

} // namespace vlr::test
