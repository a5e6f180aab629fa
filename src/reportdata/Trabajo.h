#pragma once
// A report's database work off the caller's thread: the work table copied and filled on a
// session of its own, kept until the report is closed, then dropped; stoppable at any moment.
// The one owner of run, progress, cancel and completion for Print and miravel-export.
#include <QObject>
#include <QString>
#include <QTimer>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "platform/ado/Connection.h"
#include "platform/ado/Controls.h"
#include "platform/ado/QueryAtOnce.h"
#include "platform/ado/Sessions.h"
#include "reportdata/Constructor.h"
#include "reportdata/Plan.h"
#include "reportdata/Reportes.h"
#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

namespace reportdata {

enum class Desenlace { Hecho, Cancelado, Fallido };

class Trabajo : public QObject {
    Q_OBJECT
  public:
    // ajustes: how the work's own sessions are opened (copied now), and on the read server of
    // cServidorLectura, if any, those that read the sales. avisa runs on this object's
    // thread while the work waits for it (the salesperson report's messages); once the work is
    // cancelled it is not called again. previo: the report before, whose captions the builder
    // starts from.
    Trabajo(const Reporte& reporte, Plan plan, const Seleccion& s,
            const ado::ConnectionSettings& ajustes, Aviso avisa, const Resultado& previo = {});
    ~Trabajo() override;

    // Runs the work and waits for it, this thread's events going on. Hecho: the table is filled
    // and kept until Borra, and Resultados holds what it left. Cancelado: the user asked to
    // stop, before or after the last statement; no table is left. Fallido: see Falla; no table.
    Desenlace Corre();
    // Stops the statements running now and any to come; asked again every quarter second until
    // the work has stopped, in case a statement was just starting.
    void Cancela();
    // Drops the work table once the report is closed; its failure is the report's.
    void Borra();
    // Runs a statement on the work's own session, the one that filled the table, between Hecho
    // and Borra: on a cluster another session may land on a node the table's rows never reach.
    // Waits for it; its failure is thrown here.
    ado::Table Lee(const QString& sentencia);

    bool Cancelado() const { return sesiones_->Cancelled(); }
    std::exception_ptr Falla() const { return falla_; }
    const QString& Tabla() const { return cTabla_; }
    const Resultado& Resultados() const { return resultado_; }

  signals:
    // How far the work got (queued from the work's thread).
    void Avance(const QString& paso, int hecho, int total);
    // The table is filled, or the work failed or was stopped (and left no table).
    void Terminado();

  private:
    void Hilo();
    // On the caller's thread, woken by the work: what crosses is read under mutex_.
    void MuestraAvance();
    void MuestraAviso();
    // The work is over, well or not: told to the caller's thread once mutex_ is let go.
    void Termina(std::unique_lock<std::mutex>& candado);

    struct Paso {
        QString paso;
        int hecho = 0, total = 0;
    };

    const Reporte& reporte_;
    Plan plan_;
    Seleccion seleccion_;
    ado::ConnectionSettings ajustes_;
    QString servidorLectura_;
    std::optional<ado::ConnectionSettings> lectura_;
    int retrasoMaximo_;
    Aviso avisa_;
    ado::Controls controles_;  // on this thread
    QTimer insiste_;
    std::shared_ptr<ado::Sessions> sesiones_ = std::make_shared<ado::Sessions>();
    ado::Controls controlesLectura_;  // the same on the read server, for the sessions there
    std::shared_ptr<ado::Sessions> sesionesLectura_ = std::make_shared<ado::Sessions>();
    std::thread hilo_;
    std::mutex mutex_;
    std::condition_variable cambio_;
    bool corriendo_ = false;  // between the start and the end of Corre
    bool borrar_ = false;
    Paso avance_;
    QString aviso_;
    bool avisoLeido_ = true;
    QString cTabla_;
    Resultado resultado_;
    std::optional<QString> pedido_;  // a statement Lee asks the work's thread to run
    ado::Table respuesta_;
    std::exception_ptr falla_, fallaAlBorrar_, fallaAlLeer_;
};

}  // namespace reportdata
