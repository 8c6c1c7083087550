#pragma once
// Input as a user gives it: through the top-level window (or the open popup), so that Qt
// routes keys to the focus widget and the mouse to the widget under the pointer, with the
// shortcut, focus and popup handling a real key or click goes through.
#include <QApplication>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace vyr::test {

// Clicks `w` at `at` (in `w`'s coordinates) through its top-level window.
inline void click(QWidget* w, QPoint at, Qt::KeyboardModifiers mods = {})
{
    QWidget* top = w->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, mods, w->mapTo(top, at));
    QApplication::processEvents();
}

inline void doubleClick(QWidget* w, QPoint at)
{
    QWidget* top = w->window();
    QTest::mouseDClick(top->windowHandle(), Qt::LeftButton, {}, w->mapTo(top, at));
    QApplication::processEvents();
}

// The window a key goes to: the open popup's, else the focus widget's.
inline QWindow* keyWindow()
{
    QWidget* target = QApplication::activePopupWidget();
    if (!target)
        target = QApplication::focusWidget();
    return target ? target->window()->windowHandle() : nullptr;
}

inline void key(Qt::Key k, Qt::KeyboardModifiers mods = {})
{
    if (QWindow* w = keyWindow())
        QTest::keyClick(w, k, mods);
    QApplication::processEvents();
}

inline void type(const QString& text)
{
    for (QChar c : text) {
        if (QWindow* w = keyWindow())
            QTest::keyClick(w, c.toLatin1());
    }
    QApplication::processEvents();
}

// Shows `top` and makes it the active window, so that focus changes send focus events.
inline bool activate(QWidget& top)
{
    top.show();
    QApplication::setActiveWindow(&top);
    return QTest::qWaitForWindowActive(&top);
}

} // namespace vyr::test
