// The Print command: a fresh work table, its builder, the viewer, and the table dropped.
#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>

#include "../../app/App.h"
#include "../../app/Globales.h"
#include "../../app/TablaTemporal.h"
#include "../../platform/vb/MsgBox.h"
#include "../../platform/vb/RuntimeError.h"
#include "../../platform/vb/Screen.h"
#include "../../reportdata/Reglas.h"
#include "../../reportdata/Reportes.h"
#include "../viewer/Form1.h"
#include "frmMenu.h"

void frmMenu::cmdImprimir_Click() {
    // The field being left is validated first, also when Print came by its access key.
    ValidaControl(QApplication::focusWidget());
    setEnabled(false);
    Screen::MousePointer(vbHourglass);
    int reporte = -1;
    for (int i = 0; i < 3 && reporte < 0; ++i)
        if (optReporte[i]->isChecked()) reporte = i;
    try {
        if (reporte == 2 && reportdata::MesesEntre(mskFecha[0]->text(), mskFecha[1]->text()) >
                                reportdata::kMaximoMesesVendedor) {
            MsgBox(reportdata::kMensajeMesesExcedidos);
            setEnabled(true);
            Screen::MousePointer(vbDefault);
            mskFecha[0]->setFocus();
            return;
        }
        if (reporte >= 0) Imprime(reporte);
    } catch (const RuntimeError& e) {
        Screen::MousePointer(vbDefault);
        ShowRuntimeError(e);
    }
    setEnabled(true);
    Screen::MousePointer(vbDefault);
}

void frmMenu::Imprime(int reporte) {
    const reportdata::Reporte& r = reportdata::kReportes[reporte];
    TablaTemporal trabajo(oConexion, r.estructura);
    QString& cTabla = trabajo.cTabla;
    bool tieneDatos = false;
    if (reporte == 0) LlenaTablaXmes(cTabla);
    if (reporte == 1) LlenaTablaXlinea(cTabla);
    if (reporte == 2) tieneDatos = LlenaTablaXvend(cTabla);

    Form1 visor(this);
    if (reporte == 2) visor.TieneDatos(tieneDatos);
    quint8 tipo = static_cast<quint8>(reporte);
    visor.TipoReporte(tipo);
    QString archivo = App::Archivo(r.archivo);
    visor.Reporte(archivo);
    QString tabla = oBasesDD->cMiBase + "." + cTabla;
    visor.Tabla1(tabla);
    visor.Seleccion(reportdata::DescribeSeleccion(reporte, Seleccion()));
    visor.exec();
    if (visor.Falla()) std::rethrow_exception(visor.Falla());
    trabajo.Borra();
}
