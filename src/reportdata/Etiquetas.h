#pragma once
#include <QString>
#include <QStringList>
#include <array>

// Captions of the chart's series, slots 0 to 12: line names or the three years.
// They stay until a builder writes them again.
extern std::array<QString, 13> aEtiquetas;
// The lines the line report sold but found no slot for, in the order met.
extern QStringList aLineasSinLugar;
