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

// What the server counted for one session while a piece of work ran.
struct Contadores {
    long long preguntas = 0, rndNext = 0, readNext = 0, readKey = 0;
    QJsonObject Json() const;
};

// Runs the work and gives its time in milliseconds.
double Mide(const std::function<void()>& trabajo);
// The session counters of the connection around the work, less what reading them costs.
Contadores Cuenta(ado::Connection& conexion, const std::function<void()>& trabajo);
