#pragma once
#include <QString>
#include <QStringList>
#include <array>

namespace reportdata {

// What a filled work table leaves for its report besides its rows: handed by value from the
// builder to the page and the exporter, and from the work's thread to the one that shows it.
struct Resultado {
    bool tieneDatos = true;  // the salesperson builder's result; true for the others
    // Captions of the chart's series, slots 0 to 12: line names or the three years. A builder
    // starts from the previous report's and writes only the slots it fills.
    std::array<QString, 13> aEtiquetas;
    QStringList lineasSinLugar;    // lines the line report sold but found no slot for
    double ventasSinLugar = 0;     // their net sales in the three years
    double ventasSinLinea = 0;     // net sales of products without a line in the three years
    double ventasSinVendedor = 0;  // net sales of the period no salesperson row holds
    QString origenDeCifras;        // where the figures were read, when not the main server
};

}  // namespace reportdata
