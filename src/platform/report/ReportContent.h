#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

namespace report {

// Between the parts of the selection line.
inline const QString kSeparador = "   ·   ";

// What a report shows once its rows are read: the header, the chart and the table of figures.
struct ReportContent {
    QString titulo, servidor, base, seleccion;
    QString sinDatos;  // shown large instead of the chart when not empty

    // Table of figures: one line per row of the work table, one column per shown column.
    QString tituloFilas;
    QStringList filas;
    QStringList columnas;
    QVector<QVector<double>> celdas;  // [fila][columna]

    // Chart: the same figures, rows or columns as series.
    bool seriesSonFilas = true;
    QString ejeCategorias;
    QStringList Categorias() const { return seriesSonFilas ? columnas : filas; }
    QStringList Series() const { return seriesSonFilas ? filas : columnas; }
    // Nothing to show: no data, no rows, or nothing but zeros.
    bool NadaQueMostrar() const {
        if (!sinDatos.isEmpty() || filas.isEmpty() || columnas.isEmpty()) return true;
        for (const QVector<double>& fila : celdas)
            for (double v : fila)
                if (v != 0) return false;
        return true;
    }
    // The sentence that says so, naming the selection (its parts after the report's name).
    QString Aviso() const {
        if (!sinDatos.isEmpty()) return sinDatos;
        const QStringList partes = seleccion.split(kSeparador);
        return "Sin ventas para " + (partes.size() > 1 ? partes.mid(1) : partes).join(", ");
    }
    double Valor(int serie, int categoria) const {
        return seriesSonFilas ? celdas[serie][categoria] : celdas[categoria][serie];
    }
};

}  // namespace report
