#pragma once
#include <QString>
#include <QStringList>
#include <array>

// Captions of the chart's series, slots 0 to 12: line names or the three years.
// They stay until a builder writes them again. Each thread has its own: a report's work fills
// those of its thread, and the thread that shows the report takes them over (Resultado).
extern thread_local std::array<QString, 13> aEtiquetas;
// The lines the line report sold but found no slot for, in the order met.
extern thread_local QStringList aLineasSinLugar;
// The net sales of the salesperson report's period whose documents carry no salesperson: no
// row holds them, and the page says how much they are.
extern thread_local double aVentasSinVendedor;
// Where the figures were read, when not on the main server (a read server): the page says it.
extern thread_local QString cOrigenDeCifras;

namespace reportdata {

// What a filled work table leaves for its report, handed from the work's thread to the one
// that shows or writes the report.
struct Resultado {
    bool tieneDatos = true;  // the salesperson builder's result; true for the others
    std::array<QString, 13> etiquetas;
    QStringList lineasSinLugar;
    double ventasSinVendedor = 0;
    QString origenDeCifras;

    // The captions of the calling thread, as a builder would start from them.
    static Resultado DeEsteHilo();
    // Into the calling thread's captions.
    void Publica() const;
};

}  // namespace reportdata
