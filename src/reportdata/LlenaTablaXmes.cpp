#include "reportdata/LlenaTablaXmes.h"

#include "platform/ado/Quote.h"
#include "platform/ado/Recordset.h"
#include "reportdata/Avance.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Constructor.h"
#include "reportdata/Globales.h"
#include "reportdata/Sentencias.h"

namespace reportdata {

void LlenaTablaXmes(const Seleccion& s, ado::Connection& conexion, const QString& cTabla) {
    const RangoTipos tipos = Tipos(s);
    ado::Recordset rs;
    oBasesDD->AbrirTabla(rs, conexion, cTabla);
    const int ultimo = AñoFinal(s);
    const int primero = AñoInicial(s);
    const QString vendedor = HayVendedor(s) ? " and Vendedor=" + ClaveVendedor(s) : QString();
    const QString vendedorDevoluciones =
        HayVendedor(s) ? " and clientes.Vendedor=" + ClaveVendedor(s) : QString();

    for (int año = primero; año <= ultimo; ++año) {
        Avanza(QString("Ventas y devoluciones de %1").arg(año), año - primero, 3);
        rs.AddNew();
        rs.SetField("Año", año);
        for (int mes = 1; mes <= 12; ++mes) {
            double ventas = 0, devoluciones = 0;
            bool devolucionesSumadas = false;
            const QString periodo =
                QString(" where year(Fecha)=%1 and month(Fecha)=%2").arg(año).arg(mes);
            for (int k = tipos.primero; k <= tipos.ultimo; ++k) {
                ventas +=
                    oBasesDD->Sum(conexion, Documento(s, k) + periodo + vendedor, kTotalDocumento);
                if (!devolucionesSumadas) {
                    devoluciones += oBasesDD->Sum(
                        conexion, kDevolucionesConCliente + periodo + vendedorDevoluciones,
                        kTotalDevolucion);
                    devolucionesSumadas = true;
                }
            }
            rs.SetField(kMeses[mes - 1], ventas - devoluciones);
        }
        rs.Update();
    }
    oBasesDD->CierraTabla(rs);
}

}  // namespace reportdata
