#include "platform/vb/Screen.h"

#include <QCursor>
#include <QGuiApplication>

void Screen::MousePointer(int pointer) {
    while (QGuiApplication::overrideCursor()) QGuiApplication::restoreOverrideCursor();
    if (pointer == vbHourglass) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}
