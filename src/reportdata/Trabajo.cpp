#include "reportdata/Trabajo.h"

#include <QEventLoop>
#include <QMetaObject>

#include "platform/vb/RuntimeError.h"
#include "reportdata/Avance.h"
#include "reportdata/Informe.h"
#include "reportdata/Lectura.h"
#include "reportdata/TablaTemporal.h"

namespace reportdata {

namespace {
const int kInsistencia = 250;  // ms between two kills of the same cancel

}  // namespace

Trabajo::Trabajo(const Reporte& reporte, Plan plan, const Seleccion& s,
                 const ado::ConnectionSettings& ajustes, Aviso avisa, const Resultado& previo)
    : reporte_(reporte),
      plan_(plan),
      seleccion_(s),
      ajustes_(ajustes),
      servidorLectura_(cServidorLectura),
      lectura_(AjustesDeLectura(ajustes, cServidorLectura)),
      retrasoMaximo_(nRetrasoMaximoLectura),
      avisa_(std::move(avisa)),
      resultado_(previo) {
    insiste_.setInterval(kInsistencia);
    connect(&insiste_, &QTimer::timeout, this, &Trabajo::Cancela);
}

Trabajo::~Trabajo() {
    if (!hilo_.joinable()) return;
    {
        std::lock_guard<std::mutex> candado(mutex_);
        borrar_ = true;
    }
    cambio_.notify_all();
    hilo_.join();
}

Desenlace Trabajo::Corre() {
    QEventLoop espera;
    connect(this, &Trabajo::Terminado, &espera, &QEventLoop::quit);
    hilo_ = std::thread([this] { Hilo(); });
    corriendo_ = true;
    espera.exec();
    corriendo_ = false;
    insiste_.stop();
    std::unique_lock<std::mutex> candado(mutex_);
    const bool fallo = falla_ != nullptr;
    candado.unlock();
    if (Cancelado()) {
        if (!fallo) Borra();  // finished just as the user asked to stop
        return Desenlace::Cancelado;
    }
    return fallo ? Desenlace::Fallido : Desenlace::Hecho;
}

void Trabajo::Cancela() {
    if (!corriendo_) return;
    if (!insiste_.isActive()) insiste_.start();
    controles_.Stop(ajustes_, *sesiones_);
    // Session ids are the read server's own: its statements are stopped there.
    if (lectura_) controlesLectura_.Stop(*lectura_, *sesionesLectura_);
}

ado::Table Trabajo::Lee(const QString& sentencia) {
    std::unique_lock<std::mutex> candado(mutex_);
    pedido_ = sentencia;
    fallaAlLeer_ = nullptr;
    cambio_.notify_all();
    cambio_.wait(candado, [this] { return !pedido_; });
    if (fallaAlLeer_) std::rethrow_exception(fallaAlLeer_);
    return std::move(respuesta_);
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

// What crosses between the threads goes through mutex_: Qt's queue only wakes the caller's
// thread up, so each hand-over is one a thread checker can see.
void Trabajo::Hilo() {
    FijaAvance([this](const QString& paso, int hecho, int total) {
        {
            std::lock_guard<std::mutex> candado(mutex_);
            avance_ = {paso, hecho, total};
        }
        QMetaObject::invokeMethod(this, &Trabajo::MuestraAvance, Qt::QueuedConnection);
    });
    // The messages are shown on the caller's thread; the work waits until each is read.
    const Aviso avisa = [this](const QString& texto) {
        std::unique_lock<std::mutex> candado(mutex_);
        if (Cancelado()) return;
        aviso_ = texto;
        avisoLeido_ = false;
        QMetaObject::invokeMethod(this, &Trabajo::MuestraAviso, Qt::QueuedConnection);
        cambio_.wait(candado, [this] { return avisoLeido_; });
    };
    std::unique_lock<std::mutex> candado(mutex_);
    const Resultado previo = resultado_;  // the builders start from the caller's captions
    candado.unlock();
    try {
        CompruebaPlan(plan_, servidorLectura_);
        ado::Connection conexion, lectura;  // a session belongs to the thread that opened it
        conexion.JoinSessions(sesiones_);
        conexion.Open(ajustes_);
        lectura.JoinSessions(sesionesLectura_);
        Avanza("Copiando la estructura del reporte", 0, 1);
        TablaTemporal trabajo(conexion, reporte_.estructura);
        // Made on the main server right before the sales are read: the read server is current
        // once it shows the table.
        const Origen origen = lectura_ ? OrigenDeLasCifras(lectura, *lectura_, trabajo.cTabla,
                                                           trabajo.Ficha(), retrasoMaximo_)
                                       : Origen{};
        Resultado resultado = LlenaTabla(reporte_, plan_, seleccion_, conexion, trabajo.cTabla,
                                         avisa, origen.enLectura ? &lectura : nullptr, previo);
        resultado.origenDeCifras = origen.texto;
        candado.lock();
        resultado_ = resultado;
        cTabla_ = trabajo.cTabla;
        Termina(candado);
        // The table lives until the report is closed; its rows are read on this session.
        for (;;) {
            cambio_.wait(candado, [this] { return borrar_ || pedido_; });
            if (!pedido_) break;
            const QString sentencia = *pedido_;
            candado.unlock();
            try {
                respuesta_ = ado::ReadAll(conexion, sentencia);
            } catch (...) {
                fallaAlLeer_ = std::current_exception();
            }
            candado.lock();
            pedido_.reset();
            cambio_.notify_all();
        }
        try {
            trabajo.Borra();
        } catch (...) {
            fallaAlBorrar_ = std::current_exception();
        }
    } catch (...) {
        // The guard dropped the table on the way out.
        if (!candado.owns_lock()) candado.lock();
        falla_ = std::current_exception();
        Termina(candado);
    }
    FijaAvance({});
}

void Trabajo::Termina(std::unique_lock<std::mutex>& candado) {
    candado.unlock();
    emit Terminado();
    candado.lock();
}

void Trabajo::MuestraAvance() {
    std::unique_lock<std::mutex> candado(mutex_);
    const auto [paso, hecho, total] = avance_;
    candado.unlock();
    emit Avance(paso, hecho, total);
}

void Trabajo::MuestraAviso() {
    std::unique_lock<std::mutex> candado(mutex_);
    const QString texto = aviso_;
    candado.unlock();
    if (!Cancelado()) avisa_(texto);
    candado.lock();
    avisoLeido_ = true;
    cambio_.notify_all();
}

}  // namespace reportdata
