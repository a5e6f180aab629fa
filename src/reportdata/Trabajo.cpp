#include "reportdata/Trabajo.h"

#include <QMetaObject>

#include "platform/ado/Connection.h"
#include "reportdata/Avance.h"
#include "reportdata/Informe.h"
#include "reportdata/TablaTemporal.h"

namespace reportdata {

Trabajo::Trabajo(const Reporte& reporte, Plan plan, const Seleccion& s,
                 const ado::Connection& ajustes, Aviso avisa)
    : reporte_(reporte), plan_(plan), seleccion_(s), ajustes_(ajustes), avisa_(std::move(avisa)) {}

Trabajo::~Trabajo() {
    if (!hilo_.joinable()) return;
    {
        std::lock_guard<std::mutex> candado(mutex_);
        borrar_ = true;
    }
    cambio_.notify_all();
    hilo_.join();
}

void Trabajo::Inicia() {
    hilo_ = std::thread([this] { Corre(); });
}

void Trabajo::Cancela(ado::Connection& otra) {
    sesiones_->Cancel(otra);
}

void Trabajo::Borra() {
    {
        std::lock_guard<std::mutex> candado(mutex_);
        borrar_ = true;
    }
    cambio_.notify_all();
    if (hilo_.joinable()) hilo_.join();
    if (fallaAlBorrar_) std::rethrow_exception(fallaAlBorrar_);
}

void Trabajo::Corre() {
    FijaAvance(
        [this](const QString& paso, int hecho, int total) { emit Avance(paso, hecho, total); });
    // The messages are shown on the window's thread; the work waits until each is read.
    const Aviso avisa = [this](const QString& texto) {
        QMetaObject::invokeMethod(
            this, [this, &texto] { avisa_(texto); }, Qt::BlockingQueuedConnection);
    };
    try {
        ado::Connection conexion;  // a session belongs to the thread that opened it
        conexion.JoinSessions(sesiones_);
        conexion.OpenLike(ajustes_);
        emit Avance("Copiando la estructura del reporte", 0, 1);
        TablaTemporal trabajo(conexion, reporte_.estructura);
        tieneDatos_ = LlenaTabla(reporte_, plan_, seleccion_, conexion, trabajo.cTabla, avisa);
        cTabla_ = trabajo.cTabla;
        emit Terminado();
        // The table lives until the report is closed.
        std::unique_lock<std::mutex> candado(mutex_);
        cambio_.wait(candado, [this] { return borrar_; });
        try {
            trabajo.Borra();
        } catch (...) {
            fallaAlBorrar_ = std::current_exception();
        }
    } catch (...) {
        // The guard dropped the table on the way out.
        falla_ = std::current_exception();
        emit Terminado();
    }
    FijaAvance({});
}

}  // namespace reportdata
