#pragma once
#include <QIcon>

// The program's 32 x 32 bar-chart icon; the viewer window takes it too.
QIcon IconoMiravel();
