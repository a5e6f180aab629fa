#include "reportdata/Lectura.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"

namespace reportdata {

QString cServidorLectura;

QString ServidorDeLectura(const QString& valor, const QString& origen) {
    static const QRegularExpression forma("^([^\\s:]+)(?::([0-9]{1,5}))?$");
    const QString v = valor.trimmed();
    if (v.isEmpty()) return {};
    const auto m = forma.match(v);
    if (!m.hasMatch() ||
        (m.hasCaptured(2) && (m.captured(2).toInt() < 1 || m.captured(2).toInt() > 65535)))
        throw RuntimeError(vbError::kArgumentoNoValido,
                           "«" + kClaveLectura + "» en " + origen + " vale «" + valor +
                               "»: debe ser un servidor y, si hace falta, dos puntos y su "
                               "puerto (réplica.example.com:3307).");
    return v;
}

std::optional<ado::ConnectionSettings> AjustesDeLectura(const ado::ConnectionSettings& principal,
                                                        const QString& servidor) {
    if (servidor.isEmpty()) return std::nullopt;
    ado::ConnectionSettings ajustes = principal;
    ajustes.server = servidor.section(':', 0, 0);
    ajustes.port = servidor.contains(':') ? servidor.section(':', 1) : QString("3306");
    return ajustes;
}

void CompruebaPlan(Plan plan, const QString& servidor) {
    if (plan == Plan::Fiel && !servidor.isEmpty())
        throw RuntimeError(vbError::kArgumentoNoValido,
                           "El plan «fiel» no puede leer las ventas en el servidor de lectura " +
                               servidor +
                               ": escribe la tabla del reporte entre sus lecturas, en un solo "
                               "servidor. Use el plan «agrupado» o quite el servidor de lectura.");
}

QString OrigenDeLasCifras(ado::Connection& lectura) {
    const ado::ConnectionSettings a = lectura.Settings();
    const QString origen = "Cifras del servidor de lectura " + a.server + ":" + a.port;
    try {
        QSqlQuery estado = lectura.Query("SHOW SLAVE STATUS");
        const int columna = estado.record().indexOf("Seconds_Behind_Master");
        if (columna < 0 || !estado.next() || estado.value(columna).isNull()) return origen;
        return origen + QString(", %1 s detrás del servidor principal al hacer el reporte")
                            .arg(estado.value(columna).toLongLong());
    } catch (const RuntimeError&) {
        return origen;  // the user may not read the replica's status: nothing is claimed
    }
}

}  // namespace reportdata
