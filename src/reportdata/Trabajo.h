#pragma once
// A report's database work off the window's thread: the work table copied and filled on a
// session of its own, kept until the report is closed, then dropped; stoppable at any moment.
#include <QObject>
#include <QString>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/ado/Sessions.h"
#include "reportdata/Constructor.h"
#include "reportdata/Plan.h"
#include "reportdata/Reportes.h"
#include "reportdata/Seleccion.h"

namespace ado {
class Connection;
}

namespace reportdata {

class Trabajo : public QObject {
    Q_OBJECT
  public:
    // ajustes: an open connection whose settings the work's own session copies. avisa runs on
    // this object's thread while the work waits for it (the salesperson report's messages).
    Trabajo(const Reporte& reporte, Plan plan, const Seleccion& s, const ado::Connection& ajustes,
            Aviso avisa);
    ~Trabajo() override;

    void Inicia();
    // Stops the statements running now and any to come, through another connection.
    void Cancela(ado::Connection& otra);
    // Drops the work table once the report is closed; its failure is the report's.
    void Borra();

    bool Cancelado() const { return sesiones_->Cancelled(); }
    // Set once Terminado was signalled.
    std::exception_ptr Falla() const { return falla_; }
    const QString& Tabla() const { return cTabla_; }
    bool TieneDatos() const { return tieneDatos_; }

  signals:
    // How far the work got (queued from the work's thread).
    void Avance(const QString& paso, int hecho, int total);
    // The table is filled, or the work failed or was stopped (and left no table).
    void Terminado();

  private:
    void Corre();

    const Reporte& reporte_;
    Plan plan_;
    Seleccion seleccion_;
    const ado::Connection& ajustes_;
    Aviso avisa_;
    std::shared_ptr<ado::Sessions> sesiones_ = std::make_shared<ado::Sessions>();
    std::thread hilo_;
    std::mutex mutex_;
    std::condition_variable cambio_;
    bool borrar_ = false, borrada_ = false;
    QString cTabla_;
    bool tieneDatos_ = false;
    std::exception_ptr falla_, fallaAlBorrar_;
};

}  // namespace reportdata
