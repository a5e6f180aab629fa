#include "Medida.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <algorithm>

#include "platform/ado/Connection.h"

double Tiempos::Mediana() const {
    QVector<double> o = ms;
    std::sort(o.begin(), o.end());
    return o.isEmpty() ? 0 : o[o.size() / 2];
}
double Tiempos::Minimo() const {
    return ms.isEmpty() ? 0 : *std::min_element(ms.begin(), ms.end());
}
double Tiempos::Maximo() const {
    return ms.isEmpty() ? 0 : *std::max_element(ms.begin(), ms.end());
}
QJsonObject Tiempos::Json() const {
    return {{"mediana_ms", Mediana()}, {"min_ms", Minimo()}, {"max_ms", Maximo()}};
}

QJsonObject Contadores::Json() const {
    return {{"Questions", preguntas},
            {"Handler_read_rnd_next", rndNext},
            {"Handler_read_next", readNext},
            {"Handler_read_key", readKey}};
}

double Mide(const std::function<void()>& trabajo) {
    QElapsedTimer reloj;
    reloj.start();
    trabajo();
    return reloj.nsecsElapsed() / 1e6;
}

namespace {

Contadores Lee(ado::Connection& conexion) {
    QSqlQuery q = conexion.Query(
        "SHOW GLOBAL STATUS WHERE Variable_name IN "
        "('Questions','Handler_read_rnd_next','Handler_read_next','Handler_read_key')");
    Contadores c;
    while (q.next()) {
        const QString nombre = q.value(0).toString();
        const long long v = q.value(1).toLongLong();
        if (nombre == "Questions") c.preguntas = v;
        if (nombre == "Handler_read_rnd_next") c.rndNext = v;
        if (nombre == "Handler_read_next") c.readNext = v;
        if (nombre == "Handler_read_key") c.readKey = v;
    }
    return c;
}

Contadores Resta(const Contadores& a, const Contadores& b) {
    return {a.preguntas - b.preguntas, a.rndNext - b.rndNext, a.readNext - b.readNext,
            a.readKey - b.readKey};
}

}  // namespace

Contadores Cuenta(ado::Connection& conexion, const std::function<void()>& trabajo) {
    // Reading the counters counts too: what one reading adds is taken off.
    const Contadores primera = Lee(conexion);
    const Contadores antes = Lee(conexion);
    trabajo();
    const Contadores despues = Lee(conexion);
    return Resta(Resta(despues, antes), Resta(antes, primera));
}
