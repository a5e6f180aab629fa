#pragma once
#include <QString>

namespace ado {
class Connection;
}

// What marks a work table as this program's own, in its table comment.
inline const QString kMarcaDeTrabajo = "Miravel: tabla de trabajo de un reporte";

// A new, empty table with the structure of a template of orvaloreportes; gives its name. The
// table carries the mark, the server's identity (Nodo.h) and the run's token (ficha; a fresh one
// when empty), and the connection
// holds the table's named lock until it is dropped. Its key columns compare as the sales columns
// they hold.
QString CopiaEstructura(ado::Connection& conexion, const QString& plantilla,
                        const QString& ficha = {});
// Drops a work table of this run: the session that made it still holds its lock, or, when that
// session was lost (perdida: its id) and another opened, the lock is taken again, once the lost
// session has let it go, and the table still carries the run's token. Otherwise the name is
// another run's by now and nothing is touched: gives false. The statement is the one given
// ("Drop table", or "Drop table if exists").
bool SueltaTabla(ado::Connection& conexion, const QString& tabla, const QString& ficha, int perdida,
                 const QString& borra);
// A token no other run has.
QString NuevaFicha();
// The name of a work table's lock, as an SQL text.
QString CandadoDe(ado::Connection& conexion, const QString& tabla);
// Takes a table's lock, waiting up to the seconds given: false when another session holds it.
bool TomaCandado(ado::Connection& conexion, const QString& tabla, int segundos = 0);
void SueltaCandado(ado::Connection& conexion, const QString& tabla);
// Drops the marked work tables of runs that are gone: those this server made whose lock is free
// (and, on a single server, those of older runs that named no server), and on a cluster those of
// nodes no longer members. Tables without the mark belong to others and are never touched.
void ReclamaTablasHuerfanas(ado::Connection& conexion);
// The first "tbltemp" + number that does not exist on the connection.
QString NombreTablaTemporal(ado::Connection& conexion);
