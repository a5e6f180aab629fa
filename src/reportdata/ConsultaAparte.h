#pragma once
// Work that only reads, on a session and a thread of its own: the window stays painted and can
// stop it. The documents of a figure are read so while the viewer is open.
#include <QObject>
#include <QTimer>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/ado/Connection.h"
#include "platform/ado/Controls.h"
#include "platform/ado/Sessions.h"
#include "reportdata/Trabajo.h"

namespace reportdata {

class ConsultaAparte : public QObject {
    Q_OBJECT
  public:
    ConsultaAparte(const ado::ConnectionSettings& ajustes,
                   std::function<void(ado::Connection&)> lee);
    ~ConsultaAparte() override;
    // Runs it and waits, this thread's events going on. Fallido: see Falla.
    Desenlace Corre();
    // Stops its statement now and any to come; asked again until it has stopped.
    void Cancela();
    std::exception_ptr Falla() const;

  signals:
    void Terminada();

  private:
    ado::ConnectionSettings ajustes_;
    std::function<void(ado::Connection&)> lee_;
    std::shared_ptr<ado::Sessions> sesiones_ = std::make_shared<ado::Sessions>();
    ado::Controls controles_;
    QTimer insiste_;
    std::thread hilo_;
    mutable std::mutex mutex_;
    std::exception_ptr falla_;
    bool corriendo_ = false;
};

}  // namespace reportdata
