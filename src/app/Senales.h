#pragma once
#include <QObject>

class QSocketNotifier;

// Standard error is a terminal, where a progress line can be drawn again in place.
bool ErrorEsTerminal();

// SIGINT, SIGTERM and SIGHUP delivered as a Qt signal on the main thread, so that a report in
// progress can be stopped in good order. Where the system has no such signals, nothing arrives.
class Senales : public QObject {
    Q_OBJECT
  public:
    Senales();
    ~Senales() override;
    // The exit status the received signal asks for (130 for SIGINT, 143 for the others), or 0.
    int Estado() const { return estado_; }

  signals:
    void Llegada();

  private:
    QSocketNotifier* aviso_ = nullptr;
    int estado_ = 0;
};
