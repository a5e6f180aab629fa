#pragma once
#include <QIcon>
#include <QPixmap>

// The program's bar-chart icon, drawn at any size; the viewer window takes it too.
QPixmap DibujaIcono(int lado);
QIcon IconoMiravel();
