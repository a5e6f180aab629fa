// A figure of the shown report opens the documents that make it.
#include <QMenu>
#include <QTimer>

#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/ConsultaAparte.h"
#include "reportdata/Detalle.h"
#include "ui/menu/frmMenu.h"
#include "ui/menu/frmProgreso.h"
#include "ui/viewer/Form1.h"
#include "ui/viewer/frmDetalle.h"

void Form1::AbreDocumentos(const report::Figura& figura) {
    const reportdata::Reporte& reporte =
        reportdata::ReporteDe(static_cast<reportdata::TipoReporte>(tipoReporte_));
    reportdata::Resultado r = resultado_;
    r.tieneDatos = tieneDatos_;
    reportdata::Cifra cifra{reportdata::Cifra::Celda, figura.fila, figura.columna};
    if (figura.nota) {
        // The notes may name more than one figure: the reader says which.
        const auto notas = reportdata::CifrasDeLasNotas(reporte, r);
        if (notas.isEmpty()) return;
        cifra = notas[0].second;
        if (notas.size() > 1) {
            QMenu menu(this);
            for (const auto& [rotulo, c] : notas)
                menu.addAction(rotulo, this, [&cifra, c = c] { cifra = c; });
            if (!menu.exec(QCursor::pos())) return;
        }
    }
    const report::ReportContent contenido = CRXI->Pages()->Content();
    reportdata::Detalle detalle;
    reportdata::ConsultaAparte consulta(ajustes_, [&](ado::Connection& conexion) {
        detalle = reportdata::LeeDetalle(reporte, seleccion_, contenido, r, cifra, conexion);
    });
    frmProgreso progreso(this, "Documentos de la cifra");
    connect(&progreso, &frmProgreso::Cancelar, &consulta, &reportdata::ConsultaAparte::Cancela);
    QTimer tarda;  // a short list shows no progress window
    tarda.setSingleShot(true);
    connect(&tarda, &QTimer::timeout, &progreso, &frmProgreso::MuestraSiTarda);
    tarda.start(frmMenu::kEsperaAntesDelProgreso);
    const reportdata::Desenlace desenlace = consulta.Corre();
    tarda.stop();
    progreso.hide();
    if (desenlace == reportdata::Desenlace::Fallido) {
        try {
            std::rethrow_exception(consulta.Falla());
        } catch (const RuntimeError& e) {
            ShowRuntimeError(e);
        }
    }
    if (desenlace != reportdata::Desenlace::Hecho) return;
    auto* ventana = new frmDetalle(this, std::move(detalle));
    ventana->show();
}
