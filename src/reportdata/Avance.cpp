#include "reportdata/Avance.h"

namespace reportdata {
namespace {
thread_local Avance avanceDelHilo;
}

void FijaAvance(Avance avance) {
    avanceDelHilo = std::move(avance);
}

void Avanza(const QString& paso, int hecho, int total) {
    if (avanceDelHilo) avanceDelHilo(paso, hecho, total);
}

}  // namespace reportdata
