#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

#include "platform/report/Formato.h"

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

    QStringList nombres;            // beside each row's caption in the table, when known
    bool tablaTranspuesta = false;  // the table shows the columns as its rows
    bool cambio = false;            // the table shows each column's change against the one before
    QString nota;                   // a line under the chart
    QString nombreArchivo;          // offered when a copy is saved, without extension

    // The table's totals: each row's, each column's, and the whole (the last of columnas).
    struct Totales {
        QVector<double> filas;
        QVector<double> columnas;
    };

    // The table of figures as the page shows it.
    struct Tabla {
        QString tituloFilas;
        QStringList filas, columnas;
        QVector<QVector<double>> celdas;
        bool seriesEnFilas;  // the chart's series are the table's rows
        bool cambio;

        // The columns as the table shows them: each column of figures and, with cambio, after
        // each but the first its change in percent against the one before.
        struct Mostrada {
            QString rotulo;
            int columna;
            bool esCambio;
        };
        QVector<Mostrada> Mostradas() const {
            QVector<Mostrada> m;
            for (int c = 0; c < columnas.size(); ++c) {
                m << Mostrada{columnas[c], c, false};
                if (cambio && c > 0) m << Mostrada{"% vs " + columnas[c - 1], c, true};
            }
            return m;
        }
        // What a shown column says for a row's figures, or for the totals.
        static QString Texto(const Mostrada& m, const QVector<double>& cifras) {
            return m.esCambio ? TextoCambio(cifras[m.columna - 1], cifras[m.columna])
                              : Moneda(cifras[m.columna]);
        }

        Totales Suma() const {
            Totales t{QVector<double>(filas.size(), 0.0),
                      QVector<double>(columnas.size() + 1, 0.0)};
            for (int f = 0; f < celdas.size(); ++f) {
                for (int c = 0; c < celdas[f].size(); ++c) {
                    t.filas[f] += celdas[f][c];
                    t.columnas[c] += celdas[f][c];
                }
                t.columnas.last() += t.filas[f];
            }
            return t;
        }
    };
    Tabla TablaMostrada() const {
        QStringList rotulos = filas;
        for (int i = 0; i < nombres.size() && i < rotulos.size(); ++i)
            if (!nombres[i].isEmpty()) rotulos[i] += "  " + nombres[i];
        if (!tablaTranspuesta)
            return {tituloFilas, rotulos, columnas, celdas, seriesSonFilas, cambio};
        QVector<QVector<double>> t(columnas.size(), QVector<double>(filas.size()));
        for (int i = 0; i < filas.size(); ++i)
            for (int j = 0; j < columnas.size(); ++j) t[j][i] = celdas[i][j];
        return {ejeCategorias.isEmpty() ? tituloFilas : ejeCategorias,
                columnas,
                rotulos,
                t,
                !seriesSonFilas,
                cambio};
    }

    // Chart: the same figures, rows or columns as series.
    bool seriesSonFilas = true;
    QString ejeCategorias;
    QStringList Categorias() const { return seriesSonFilas ? columnas : filas; }
    QStringList Series() const { return seriesSonFilas ? filas : columnas; }
    // The same report with only some of its categories, for a chart over several pages.
    ReportContent ConCategorias(int desde, int cuantas) const {
        ReportContent parte = *this;
        if (seriesSonFilas) {
            parte.columnas = columnas.mid(desde, cuantas);
            for (QVector<double>& fila : parte.celdas) fila = fila.mid(desde, cuantas);
        } else {
            parte.filas = filas.mid(desde, cuantas);
            parte.nombres = nombres.mid(desde, cuantas);
            parte.celdas = celdas.mid(desde, cuantas);
        }
        return parte;
    }
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
