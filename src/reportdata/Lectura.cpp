#include "reportdata/Lectura.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include "platform/ado/Quote.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Avance.h"

namespace reportdata {

QString cServidorLectura;
int nRetrasoMaximoLectura = kRetrasoOmision;

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

namespace {

// Why the replica's own status says it is not worth waiting for; empty when it may be current
// within the bound, or when its status may not be read.
QString SinEsperar(ado::Connection& lectura, int retrasoMaximo) {
    try {
        QSqlQuery estado = lectura.Query("SHOW SLAVE STATUS");
        const QSqlRecord r = estado.record();
        if (!estado.next()) return {};
        const QVariant retraso = estado.value(r.indexOf("Seconds_Behind_Master"));
        for (const char* hilo : {"Slave_SQL_Running", "Slave_IO_Running"})
            if (estado.value(r.indexOf(hilo)).toString() != "Yes")
                return "su replicación está detenida";
        if (!retraso.isNull() && retraso.toLongLong() > retrasoMaximo)
            return QString("iba %1 s detrás del principal").arg(retraso.toLongLong());
    } catch (const RuntimeError&) {
        if (lectura.Cancelled()) throw;
        // Without the right to read the status: the work table tells.
    }
    return {};
}

bool Muestra(ado::Connection& lectura, const QString& tabla, const QString& ficha) {
    QSqlQuery q = lectura.Query(
        "SELECT TABLE_COMMENT FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() AND "
        "TABLE_NAME=" +
        ado::Quote(tabla));
    return q.next() && q.value(0).toString().endsWith(" " + ficha);
}

}  // namespace

Origen OrigenDeLasCifras(ado::Connection& lectura, const ado::ConnectionSettings& ajustes,
                         const QString& tabla, const QString& ficha, int retrasoMaximo) {
    const QString servidor = ajustes.server + ":" + ajustes.port;
    const int kPausa = 100;  // ms between two looks
    QString motivo;
    try {
        lectura.Open(ajustes);
        motivo = SinEsperar(lectura, retrasoMaximo);
        Avanza("Esperando a que el servidor de lectura " + servidor + " esté al día", 0, 1);
        QElapsedTimer reloj;
        reloj.start();
        while (motivo.isEmpty()) {
            if (Muestra(lectura, tabla, ficha)) {
                const qint64 espera = reloj.elapsed() / 1000;
                return {true,
                        "Cifras del servidor de lectura " + servidor +
                            ", al día con el servidor principal" +
                            (espera > 0 ? QString(" tras esperarlo %1 s").arg(espera) : QString())};
            }
            if (reloj.elapsed() >= 1000LL * retrasoMaximo)
                motivo = QString("no se puso al día en %1 s").arg(retrasoMaximo);
            else
                QThread::msleep(kPausa);
        }
    } catch (const RuntimeError& e) {
        if (lectura.Cancelled()) throw;
        motivo = "no se pudo consultar: " + e.Description().section('\n', 0, 0);
    }
    lectura.Close();
    return {false, "Cifras del servidor principal: el servidor de lectura " + servidor +
                       " no estaba al día (" + motivo + ")"};
}

}  // namespace reportdata
