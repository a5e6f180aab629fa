#include "reportdata/CopiaEstructura.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QStringList>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/ado/Recordset.h"
#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"
#include "reportdata/Nodo.h"
#include "reportdata/Reclamo.h"

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

bool TomaCandado(ado::Connection& conexion, const QString& tabla, int segundos) {
    QSqlQuery q = conexion.Query("SELECT GET_LOCK(" + CandadoDe(conexion, tabla) + "," +
                                 QString::number(segundos) + ")");
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

// The digest of the server a mark names; empty for the marks of the oldest runs, which name none.
QString ServidorDe(const QString& marca) {
    const QString resto = marca.mid(kMarcaDeTrabajo.size() + 1);
    if (!resto.startsWith("de ")) return {};
    return HuellaDe(resto.mid(3, resto.lastIndexOf(' ') - 3));
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
// salesperson the sales data tells apart keeps a row, whatever the templates' character set. The
// server quotes names with backquotes, or with double quotes under ANSI_QUOTES.
const struct {
    const char *columna, *tablaDeVentas;
} kClavesDeVentas[] = {{"Vendedor", "facturas"}};

QString ConClavesDeVentas(ado::Connection& conexion, QString creacion) {
    static const QRegularExpression nombre("^[A-Za-z0-9_]+$");
    for (const auto& clave : kClavesDeVentas) {
        const QRegularExpression definicion(
            QString("([`\"]%1[`\"] (?:var)?char\\(\\d+\\))(?: CHARACTER SET \\w+)?(?: COLLATE "
                    "\\w+)?")
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

namespace {
// Seconds a lost session may take to end on the server and let its locks go.
const int kFinDeSesion = 10;

// The lock of a table whose session was lost: taken at once when free, after the lost session
// ends when it still holds it (the server ends a killed session in its own time), never when
// another session holds it.
bool RecuperaCandado(ado::Connection& conexion, const QString& tabla, int perdida) {
    if (TomaCandado(conexion, tabla)) return true;
    QSqlQuery q = conexion.Query("SELECT IS_USED_LOCK(" + CandadoDe(conexion, tabla) + ")");
    return q.next() && q.value(0).toInt() == perdida && TomaCandado(conexion, tabla, kFinDeSesion);
}
}  // namespace

bool SueltaTabla(ado::Connection& conexion, const QString& tabla, const QString& ficha, int perdida,
                 const QString& borra) {
    if (perdida) {
        if (!RecuperaCandado(conexion, tabla, perdida)) return false;
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
    QList<Dejada> dejadas;
    while (marcadas.next()) {
        const QString tabla = marcadas.value(0).toString(), marca = marcadas.value(1).toString();
        // The name may have been made anew meanwhile: the mark is read again.
        dejadas << Dejada{ServidorDe(marca), tabla, {tabla}, [&conexion, tabla, marca] {
                              return ComentarioDe(conexion, tabla) == marca;
                          }};
    }
    Reclama(conexion, dejadas);
}

QString CopiaEstructura(ado::Connection& conexion, const QString& plantilla, const QString& ficha) {
    ado::Recordset rs;
    oBasesDD->AbrirTabla(rs, conexion, "Show create table orvaloreportes." + plantilla);
    const QString creacion =
        ConClavesDeVentas(conexion, rs.Fields(1).toString()) + " COMMENT=" +
        ado::Quote(Marca(NodoDe(conexion).huella, ficha.isEmpty() ? NuevaFicha() : ficha));
    oBasesDD->CierraTabla(rs);
    // Only the table's own name is renamed: a comment or a default naming the template stays.
    const QRegularExpression nombreDePlantilla("^(CREATE TABLE [`\"])" +
                                               QRegularExpression::escape(plantilla) + "([`\"])");
    // The table's lock is taken before the table exists and held for its whole life. A plain
    // CREATE TABLE: when another program took the free name first, the server says so and we
    // take the next one, so no two prints ever share a table. On a cluster a CREATE of the same
    // name on another node at the same moment wins the certification, and this one takes the
    // next name too.
    for (int n = PrimerNumeroLibre(conexion, 0);; n = PrimerNumeroLibre(conexion, n + 1)) {
        const QString nombre = "tbltemp" + QString::number(n);
        if (!TomaCandado(conexion, nombre)) continue;
        try {
            conexion.Execute(QString(creacion).replace(nombreDePlantilla, "\\1" + nombre + "\\2"));
            return nombre;
        } catch (const RuntimeError& e) {
            SueltaCandado(conexion, nombre);
            if (e.Number() != mysqlError::kTablaExiste && e.Number() != mysqlError::kInterbloqueo)
                throw;
        }
    }
}
