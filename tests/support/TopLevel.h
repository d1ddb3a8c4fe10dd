#pragma once
// The application's top-level window of type T, as the program built it, or null.

#include <QApplication>
#include <QWidget>

template<typename T>
T* TopLevel() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<T*>(widget)) {
            return window;
        }
    }
    return nullptr;
}
