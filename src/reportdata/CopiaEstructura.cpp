#include "reportdata/CopiaEstructura.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>
#include <optional>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/ado/Recordset.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"
#include "reportdata/Nodo.h"

namespace {

const int kUltimoNumero = 32767;

// The first free "tbltemp" number from desde on.
int PrimerNumeroLibre(ado::Connection& conexion, int desde) {
    for (int n = desde; n <= kUltimoNumero; ++n) {
        QString nombre = "tbltemp" + QString::number(n);
        if (!oBasesDD->HayTabla(nombre, conexion)) return n;
    }
    throw RuntimeError(
        vbError::kDesbordamiento,
        QString("Desbordamiento: las tablas tbltemp0 a tbltemp%1 ya existen.").arg(kUltimoNumero));
}

}  // namespace

QString NombreTablaTemporal(ado::Connection& conexion) {
    return "tbltemp" + QString::number(PrimerNumeroLibre(conexion, 0));
}

QString CandadoDe(ado::Connection& conexion, const QString& tabla) {
    // Lock names are short on some servers: the database goes in as a digest.
    const QByteArray base =
        QCryptographicHash::hash(conexion.DefaultDatabase().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return ado::Quote("miravel." + QString::fromLatin1(base) + "." + tabla);
}

bool TomaCandado(ado::Connection& conexion, const QString& tabla) {
    QSqlQuery q = conexion.Query("SELECT GET_LOCK(" + CandadoDe(conexion, tabla) + ",0)");
    return q.next() && q.value(0).toInt() == 1;
}

void SueltaCandado(ado::Connection& conexion, const QString& tabla) {
    conexion.Execute("SELECT RELEASE_LOCK(" + CandadoDe(conexion, tabla) + ")");
}

namespace {

// The mark names the server that made the table, then the run's token.
QString Marca(const QString& servidor, const QString& ficha) {
    return kMarcaDeTrabajo + " de " + servidor + " " + ficha;
}

// The server a mark names; none for the marks of older runs, which carry the token only.
std::optional<QString> ServidorDe(const QString& marca) {
    const QString resto = marca.mid(kMarcaDeTrabajo.size() + 1);
    if (!resto.startsWith("de ")) return std::nullopt;
    return resto.mid(3, resto.lastIndexOf(' ') - 3);
}

QString ComentarioDe(ado::Connection& conexion, const QString& tabla) {
    QSqlQuery q = conexion.Query(
        "SELECT TABLE_COMMENT FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() AND "
        "TABLE_NAME=" +
        ado::Quote(tabla));
    return q.next() ? q.value(0).toString() : QString();
}

bool LlevaFicha(ado::Connection& conexion, const QString& tabla, const QString& ficha) {
    const QString marca = ComentarioDe(conexion, tabla);
    return marca.startsWith(kMarcaDeTrabajo + " ") && marca.endsWith(" " + ficha);
}

// The sales column each work-table key holds: the key compares as it does, so that every
// salesperson the sales data tells apart keeps a row, whatever the templates' character set.
const struct {
    const char *columna, *tablaDeVentas;
} kClavesDeVentas[] = {{"Vendedor", "facturas"}};

QString ConClavesDeVentas(ado::Connection& conexion, QString creacion) {
    static const QRegularExpression nombre("^[A-Za-z0-9_]+$");
    for (const auto& clave : kClavesDeVentas) {
        const QRegularExpression definicion(
            QString("(`%1` (?:var)?char\\(\\d+\\))(?: CHARACTER SET \\w+)?(?: COLLATE \\w+)?")
                .arg(clave.columna));
        if (!creacion.contains(definicion)) continue;
        QSqlQuery q = conexion.Query(
            "SELECT CHARACTER_SET_NAME, COLLATION_NAME FROM information_schema.COLUMNS WHERE "
            "TABLE_SCHEMA=DATABASE() AND TABLE_NAME=" +
            ado::Quote(clave.tablaDeVentas) + " AND COLUMN_NAME=" + ado::Quote(clave.columna));
        if (!q.next()) continue;
        const QString juego = q.value(0).toString(), colacion = q.value(1).toString();
        if (!nombre.match(juego).hasMatch() || !nombre.match(colacion).hasMatch()) continue;
        creacion.replace(definicion, "\\1 CHARACTER SET " + juego + " COLLATE " + colacion);
    }
    return creacion;
}

}  // namespace

QString NuevaFicha() {
    return QString::number(QRandomGenerator::system()->generate64(), 36);
}

bool SueltaTabla(ado::Connection& conexion, const QString& tabla, const QString& ficha,
                 bool reabierta, const QString& borra) {
    if (reabierta) {
        if (!TomaCandado(conexion, tabla)) return false;
        if (!LlevaFicha(conexion, tabla, ficha)) {
            SueltaCandado(conexion, tabla);
            return false;
        }
    }
    conexion.Execute(borra + " " + ado::QuoteIdentifier(tabla));
    SueltaCandado(conexion, tabla);
    return true;
}

void ReclamaTablasHuerfanas(ado::Connection& conexion) {
    QSqlQuery marcadas = conexion.Query(
        "SELECT TABLE_NAME, TABLE_COMMENT FROM information_schema.TABLES WHERE "
        "TABLE_SCHEMA=DATABASE() AND TABLE_NAME LIKE 'tbltemp%' AND TABLE_COMMENT LIKE " +
        ado::Quote(kMarcaDeTrabajo + "%"));
    QList<std::pair<QString, QString>> tablas;
    while (marcadas.next())
        tablas << std::pair{marcadas.value(0).toString(), marcadas.value(1).toString()};
    if (tablas.isEmpty()) return;  // the usual report asks nothing more
    const Nodo nodo = NodoDe(conexion);
    for (const auto& [tabla, marca] : tablas) {
        const std::optional<QString> servidor = ServidorDe(marca);
        // Older runs named no server: their locks tell only where there is one server.
        const bool propia = servidor ? *servidor == nodo.identidad : !nodo.enCluster;
        if (!propia && !(servidor && nodo.Ido(*servidor))) continue;
        // A free lock means the run that made the table is gone; holding it, no run of this
        // server drops it. The mark is read again: the name may have been made anew meanwhile.
        if (propia && !TomaCandado(conexion, tabla)) continue;
        if (ComentarioDe(conexion, tabla) == marca)
            conexion.Execute("Drop table if exists " + ado::QuoteIdentifier(tabla));
        if (propia) SueltaCandado(conexion, tabla);
    }
}

QString CopiaEstructura(ado::Connection& conexion, const QString& plantilla, const QString& ficha) {
    ado::Recordset rs;
    oBasesDD->AbrirTabla(rs, conexion, "Show create table orvaloreportes." + plantilla);
    const QString creacion =
        ConClavesDeVentas(conexion, rs.Fields(1).toString()) + " COMMENT=" +
        ado::Quote(Marca(NodoDe(conexion).identidad, ficha.isEmpty() ? NuevaFicha() : ficha));
    oBasesDD->CierraTabla(rs);
    // The table's lock is taken before the table exists and held for its whole life. A plain
    // CREATE TABLE: when another program took the free name first, the server says so and we
    // take the next one, so no two prints ever share a table. On a cluster a CREATE of the same
    // name on another node at the same moment wins the certification, and this one takes the
    // next name too.
    for (int n = PrimerNumeroLibre(conexion, 0);; n = PrimerNumeroLibre(conexion, n + 1)) {
        const QString nombre = "tbltemp" + QString::number(n);
        if (!TomaCandado(conexion, nombre)) continue;
        try {
            conexion.Execute(QString(creacion).replace(plantilla, nombre));
            return nombre;
        } catch (const RuntimeError& e) {
            SueltaCandado(conexion, nombre);
            if (e.Number() != mysqlError::kTablaExiste && e.Number() != mysqlError::kInterbloqueo)
                throw;
        }
    }
}
