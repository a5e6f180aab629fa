#pragma once
// Timing and server counters of the benchmark.
#include <QJsonObject>
#include <QString>
#include <QVector>
#include <functional>

namespace ado {
class Connection;
}

// Median, least and most of a few runs, in milliseconds.
struct Tiempos {
    QVector<double> ms;
    double Mediana() const;
    double Minimo() const;
    double Maximo() const;
    QJsonObject Json() const;
};

// What the server counted while a piece of work ran, on every session: the grouped plan reads on
// several at once. The benchmark's server runs nothing else.
struct Contadores {
    long long preguntas = 0, rndNext = 0, readNext = 0, readKey = 0;
    QJsonObject Json() const;
};

// Runs the work and gives its time in milliseconds.
double Mide(const std::function<void()>& trabajo);
// The server's counters around the work, read on the connection, less what reading them costs.
Contadores Cuenta(ado::Connection& conexion, const std::function<void()>& trabajo);
