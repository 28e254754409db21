#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// Works the modal window that the next step opens, once it is up: a zero-time timer runs inside
// that window's own event loop. After the step, wait for the returned flag with
// QTRY_VERIFY(*hecho): a window that never opened then fails the test there, instead of leaving
// the work to run, unchecked, in a later test.
[[nodiscard]] inline std::shared_ptr<bool> AlAbrirModal(std::function<void(QWidget*)> trabajo) {
    auto hecho = std::make_shared<bool>(false);
    QTimer::singleShot(0, [trabajo = std::move(trabajo), hecho] {
        QWidget* w = QApplication::activeModalWidget();
        QVERIFY2(w, "no se abrió ninguna ventana modal");
        trabajo(w);
        *hecho = true;
    });
    return hecho;
}
