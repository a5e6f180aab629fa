#pragma once
#include <QString>
#include <functional>

namespace reportdata {

// Where a report's work says how far it got: a step's text, steps done of steps known. Set for
// the thread that runs the work; nothing is said where none is set.
using Avance = std::function<void(const QString& paso, int hecho, int total)>;
void FijaAvance(Avance avance);
void Avanza(const QString& paso, int hecho, int total);

}  // namespace reportdata
