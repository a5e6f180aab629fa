#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>

namespace ado {
class Connection;
}

namespace reportdata {

// What the builders read from the selection window, as plain values.
struct Seleccion {
    QStringList documentos{"Facturas", "Remisiones", "Ambas"};  // entries of the kind list
    int tipo = 2;                                               // its selected index, -1 for none
    QString vendedor;                                           // text of the salesperson box
    QString año;                                                // text of the final year
    QString fechaInicial, fechaFinal;                           // texts of the date boxes
    QVariant linea;                                             // bound value of the line list
    QString lineaNombre, vendedorNombre;                        // as shown, for the printed page
    bool claveSinCabida = false;       // the database cannot hold the key: it matches nothing
    bool vendedorDesconocido = false;  // the key is not in the salespeople's catalogue
};

// An account of the selection for the printed page, the same from the window and the exporter.
struct Reporte;
QString DescribeSeleccion(const Reporte& reporte, const Seleccion& s);
// The name a saved copy of the report is offered under: the report and its period, so that two
// periods' copies do not take each other's place.
QString NombreDeArchivo(const Reporte& reporte, const Seleccion& s);
// The names the page shows beside the line and the salesperson chosen by their keys, or that the
// key is not in the catalogue: the window has them from its lists; a selection made of keys alone
// (the exporter's) looks them up.
void NombraSeleccion(Seleccion& s, ado::Connection& conexion);

}  // namespace reportdata
