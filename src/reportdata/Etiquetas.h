#pragma once
#include <QString>
#include <array>

// Captions of the chart's series, slots 0 to 12: line names or the three years.
// They stay until a builder writes them again.
extern std::array<QString, 13> aEtiquetas;
