#include "reportdata/Reclamo.h"

#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "reportdata/CopiaEstructura.h"
#include "reportdata/Nodo.h"

void Reclama(ado::Connection& conexion, const QList<Dejada>& dejadas) {
    if (dejadas.isEmpty()) return;  // the usual start or report asks nothing more
    const Nodo nodo = NodoDe(conexion);
    for (const Dejada& d : dejadas) {
        const bool propia = d.servidor.isEmpty() ? !nodo.enCluster : d.servidor == nodo.huella;
        if (!propia && !(!d.servidor.isEmpty() && nodo.Ido(d.servidor))) continue;
        if (propia && !TomaCandado(conexion, d.candado)) continue;
        if (d.intacta()) {
            QStringList tablas;
            for (const QString& t : d.tablas) tablas << ado::QuoteIdentifier(t);
            conexion.Execute("Drop table if exists " + tablas.join(','));
        }
        if (propia) SueltaCandado(conexion, d.candado);
    }
}
