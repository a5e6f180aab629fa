#pragma once
#include <QString>

namespace ado {
class Connection;
}

// The work table of one report, copied from its template. It is dropped when the report is
// done, and on the way out of any failure, so a failed report leaves no table behind.
class TablaTemporal {
  public:
    TablaTemporal(ado::Connection& conexion, const QString& plantilla);
    ~TablaTemporal();
    TablaTemporal(const TablaTemporal&) = delete;
    TablaTemporal& operator=(const TablaTemporal&) = delete;

    // The report is done: "Drop table", whose failure is the report's.
    void Borra();

    QString cTabla;
    // This run's token in the table's comment.
    const QString& Ficha() const { return ficha_; }

  private:
    ado::Connection& conexion_;
    QString ficha_;  // this run's token in the table's comment
    int sesion_;     // the session that made the table and holds its lock
    bool borrada_ = false;
};
