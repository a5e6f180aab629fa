#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>

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
    bool claveSinCabida = false;  // the database cannot hold the key: it matches nothing
};

// A one-line account of the selection for the printed page.
struct Reporte;
QString DescribeSeleccion(const Reporte& reporte, const Seleccion& s);

}  // namespace reportdata
