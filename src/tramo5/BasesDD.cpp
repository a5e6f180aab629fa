#include <QComboBox>

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/ado/Recordset.h"
#include "tramo5/Fabrica.h"

namespace {

class BasesDDImpl : public tramo5::BasesDD {
  public:
    void AbrirBdD(ado::Connection& conexion, const QString& base) override {
        conexion.Open(cRuta, cPuerto, cUsuario, cPassword, base);
    }
    void CierraBdD(ado::Connection& conexion) override { conexion.Close(); }

    bool AbrirTabla(ado::Recordset& rs, ado::Connection& conexion, const QString& origen,
                    const QString& columnas) override {
        rs.Open(origen, conexion, columnas);
        return !rs.Eof();
    }
    void CierraTabla(ado::Recordset& rs) override { rs.Close(); }

    // campos: the shown column and the bound column, joined by a comma.
    void AbrirDataSource(ado::Recordset& rs, ado::Connection& conexion, const QString& origen,
                         QComboBox* combo, const QString& campos, bool llenar) override {
        rs.Open(origen, conexion);
        if (!llenar) return;
        const QString lista = campos.section(',', 0, 0).trimmed();
        const QString ligada = campos.section(',', 1, 1).trimmed();
        combo->clear();
        for (; !rs.Eof(); rs.MoveNext())
            combo->addItem(rs.Fields(lista).toString(), rs.Fields(ligada));
        combo->setCurrentIndex(-1);
    }

    bool HayTabla(const QString& nombre, ado::Connection& conexion) override {
        return conexion
            .Query(
                "SELECT 1 FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() "
                "AND TABLE_NAME=" +
                ado::Quote(nombre))
            .next();
    }

    double Sum(ado::Connection& conexion, const QString& origen,
               const QString& expresion) override {
        QSqlQuery q = conexion.Query("SELECT SUM(" + expresion + ") FROM " + origen);
        return q.next() ? q.value(0).toDouble() : 0.0;
    }

    QVariant NoNull(const QVariant& valor) override { return valor.isNull() ? QVariant(0) : valor; }

    long long LastRec(ado::Connection& conexion, const QString& tabla) override {
        QSqlQuery q = conexion.Query("SELECT COUNT(*) FROM " + tabla);
        return q.next() ? q.value(0).toLongLong() : 0;
    }
};

}  // namespace

tramo5::Objeto* NuevoBasesDD() {
    return new BasesDDImpl;
}
