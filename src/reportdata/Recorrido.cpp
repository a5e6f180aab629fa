#include "reportdata/Recorrido.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include "platform/ado/Connection.h"
#include "platform/report/Formato.h"
#include "reportdata/Globales.h"
#include "reportdata/Sentencias.h"

namespace reportdata {
namespace {

// From this share of a table's documents on, reading every line costs less than walking the
// documents of the period: on 800,000 invoices the two cost the same between a fifth and a third,
// whether the numbers follow the dates or not, and walking grows dearer with the share.
constexpr double kParteGrande = 0.3;

QString Cuantos(long long n) {
    return report::Localidad().toString(n);
}

}  // namespace

QVector<Recorrido> Recorridos(const Seleccion& s, ado::Connection& lectura, const RangoTipos& tipos,
                              const QString& donde) {
    QVector<Recorrido> recorridos;
    for (int k = tipos.primero; k <= tipos.ultimo; ++k)
        recorridos << Recorrido{Documento(s, k), false, {}};
    if (HayVendedor(s)) {
        for (Recorrido& r : recorridos) r.aviso = r.doc + " del vendedor";
        return recorridos;
    }
    QStringList cuentas;
    for (int i = 0; i < recorridos.size(); ++i)
        cuentas << QString("SELECT %1,(SELECT COUNT(*) FROM %2),(SELECT COUNT(*) FROM %2%3)")
                       .arg(i)
                       .arg(recorridos[i].doc, oUtilerias->CambXXX(donde, recorridos[i].doc));
    QSqlQuery q = lectura.Query(cuentas.join(" UNION ALL "));
    while (q.next()) {
        Recorrido& r = recorridos[q.value(0).toInt()];
        const long long todos = q.value(1).toLongLong(), periodo = q.value(2).toLongLong();
        r.detalleAntes = periodo > 0 && periodo >= kParteGrande * todos;
        r.aviso = r.detalleAntes
                      ? QString("%1, cada renglón de sus %2 documentos").arg(r.doc, Cuantos(todos))
                      : QString("%1, los renglones de %2 de %3 documentos")
                            .arg(r.doc, Cuantos(periodo), Cuantos(todos));
    }
    return recorridos;
}

QString Describe(const QString& paso, const QVector<Recorrido>& recorridos) {
    QStringList partes;
    for (const Recorrido& r : recorridos) partes << r.aviso;
    return paso + ": " + partes.join("; ");
}

QString DocumentoYDetalle(const QString& doc, bool detalleAntes) {
    return detalleAntes ? oUtilerias->CambXXX(kDetalleAntes, doc)
                        : doc + oUtilerias->CambXXX(kDetalleDeVentas, doc);
}

}  // namespace reportdata
