// The Print command: a fresh work table, its builder, the viewer, and the table dropped.
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>

#include "platform/vb/App.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/Screen.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/Reglas.h"
#include "reportdata/TablaTemporal.h"
#include "ui/menu/frmMenu.h"
#include "ui/viewer/Form1.h"

void frmMenu::cmdImprimir_Click() {
    // The field being left is validated first, also when Print came by its access key.
    ValidaControl(QApplication::focusWidget());
    setEnabled(false);
    Screen::MousePointer(vbHourglass);
    const reportdata::Reporte* elegido = nullptr;
    for (const reportdata::Reporte& r : reportdata::kReportes)
        if (optReporte[static_cast<int>(r.tipo)]->isChecked()) elegido = &r;
    try {
        if (elegido && elegido->porFechas &&
            reportdata::MesesEntre(mskFecha[0]->text(), mskFecha[1]->text()) >
                reportdata::kMaximoMesesVendedor) {
            MsgBox(reportdata::kMensajeMesesExcedidos);
            setEnabled(true);
            Screen::MousePointer(vbDefault);
            mskFecha[0]->setFocus();
            return;
        }
        if (elegido) {
            oConexion.EnsureOpen();  // a window left open overnight: the session is gone
            Imprime(*elegido);
        }
    } catch (const RuntimeError& e) {
        Screen::MousePointer(vbDefault);
        ShowRuntimeError(e);
    }
    setEnabled(true);
    Screen::MousePointer(vbDefault);
}

void frmMenu::Imprime(const reportdata::Reporte& r) {
    const reportdata::Seleccion s = Seleccion();
    TablaTemporal trabajo(oConexion, r.estructura);
    const bool tieneDatos = reportdata::LlenaTabla(r, plan, s, oConexion, trabajo.cTabla,
                                                   [](const QString& aviso) { MsgBox(aviso); });
    Form1 visor(this);
    if (r.porFechas) visor.TieneDatos(tieneDatos);
    visor.TipoReporte(static_cast<quint8>(r.tipo));
    visor.Reporte(App::Archivo(r.archivo));
    visor.Tabla1(oBasesDD->cMiBase + "." + trabajo.cTabla);
    visor.Seleccion(reportdata::DescribeSeleccion(r, s));
    visor.exec();
    if (visor.Falla()) std::rethrow_exception(visor.Falla());
    trabajo.Borra();
}
