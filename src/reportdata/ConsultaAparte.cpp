#include "reportdata/ConsultaAparte.h"

#include <QEventLoop>

namespace reportdata {

ConsultaAparte::ConsultaAparte(const ado::ConnectionSettings& ajustes,
                               std::function<void(ado::Connection&)> lee)
    : ajustes_(ajustes), lee_(std::move(lee)) {
    insiste_.setInterval(250);
    connect(&insiste_, &QTimer::timeout, this, &ConsultaAparte::Cancela);
}

ConsultaAparte::~ConsultaAparte() {
    if (hilo_.joinable()) hilo_.join();
}

Desenlace ConsultaAparte::Corre() {
    QEventLoop espera;
    connect(this, &ConsultaAparte::Terminada, &espera, &QEventLoop::quit, Qt::QueuedConnection);
    corriendo_ = true;
    hilo_ = std::thread([this] {
        try {
            ado::Connection conexion;  // a session belongs to the thread that opened it
            conexion.JoinSessions(sesiones_);
            conexion.Open(ajustes_);
            lee_(conexion);
        } catch (...) {
            std::lock_guard<std::mutex> candado(mutex_);
            falla_ = std::current_exception();
        }
        emit Terminada();
    });
    espera.exec();
    hilo_.join();
    corriendo_ = false;
    insiste_.stop();
    if (sesiones_->Cancelled()) return Desenlace::Cancelado;
    return Falla() ? Desenlace::Fallido : Desenlace::Hecho;
}

void ConsultaAparte::Cancela() {
    if (!corriendo_) return;
    if (!insiste_.isActive()) insiste_.start();
    controles_.Stop(ajustes_, *sesiones_);
}

std::exception_ptr ConsultaAparte::Falla() const {
    std::lock_guard<std::mutex> candado(mutex_);
    return falla_;
}

}  // namespace reportdata
