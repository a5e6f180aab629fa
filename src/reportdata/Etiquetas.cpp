#include "reportdata/Etiquetas.h"

std::array<QString, 13> aEtiquetas;
QStringList aLineasSinLugar;
