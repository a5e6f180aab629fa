#pragma once
#include <QString>
#include <QStringList>
#include <stdexcept>

#include "reportdata/Plan.h"
#include "reportdata/Reportes.h"
#include "reportdata/Seleccion.h"

// What miravel-export was asked for.
struct Pedido {
    const reportdata::Reporte* reporte = nullptr;
    reportdata::Seleccion seleccion;
    QString pdf, png, csv, json, xlsx;
    QString config;
    QString servidor, puerto, usuario, base;  // empty: from the configuration
    QString plan;                             // --plan; empty: from the configuration
    QString servidorLectura;                  // --servidor-lectura; empty: from the configuration
    QString esperaConexion, esperaConsulta;   // seconds; empty: from the configuration
    QString retrasoMaximoLectura;             // seconds; empty: from the configuration
    reportdata::Plan planDeConsultas = reportdata::Plan::Agrupado;
    bool ayuda = false, version = false;
    // The documents of one figure instead of the report: --detalle, the figure by its month (mes,
    // 0: the year), line, salesperson or year.
    bool detalle = false;
    int mes = 0;
    QString anio;  // --anio as given: with --detalle on the salesperson report, the column's year
    // Server, port, user and base all given and no file named: no configuration file and no host
    // installation.
    bool SinConfiguracion() const {
        return config.isEmpty() && !servidor.isEmpty() && !puerto.isEmpty() && !usuario.isEmpty() &&
               !base.isEmpty();
    }
};

// Bad arguments or input: a one-line message; the command exits with status 2.
struct ErrorDeUso : std::runtime_error {
    explicit ErrorDeUso(const QString& texto) : std::runtime_error(texto.toStdString()) {}
};

// The command's usage, as --help prints it.
QString UsoExporta();

// Reads the arguments (without the program name). Dates and year follow the window's rules.
Pedido LeePedido(const QStringList& argumentos);
// The range rule of the salesperson report, once the date format is known.
void CompruebaPedido(const Pedido& pedido);
