// The Print command: a fresh work table, its builder, the viewer, and the table dropped.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "platform/vb/App.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"
#include "platform/vb/Screen.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/Reglas.h"
#include "reportdata/Trabajo.h"
#include "ui/menu/frmMenu.h"
#include "ui/menu/frmProgreso.h"
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
    cmdImprimir->setFocus();  // ready to print again
    if (cerrarAlTerminar_) QTimer::singleShot(0, this, &QWidget::close);
}

void frmMenu::Imprime(const reportdata::Reporte& r) {
    const reportdata::Seleccion s = Seleccion();
    frmProgreso progreso(this, "Reporte " + r.nombre);
    reportdata::Trabajo trabajo(
        r, plan, s, oConexion.Settings(),
        [&](const QString& aviso) {
            if (!mensajesEnCajas) return progreso.Mensaje(aviso);
            progreso.MuestraSiTarda();
            MsgBox(aviso);
        },
        ultimo_);
    connect(&trabajo, &reportdata::Trabajo::Avance, &progreso, &frmProgreso::Avanza);
    connect(&progreso, &frmProgreso::Cancelar, &trabajo, [&] {
        trabajo.Cancela();
        CierraCajas();  // the box the work waits for: no further box comes
    });
    QTimer tarda;  // stopped with the work: it must not show over the viewer
    tarda.setSingleShot(true);
    connect(&tarda, &QTimer::timeout, &progreso, &frmProgreso::MuestraSiTarda);
    tarda.start(kEsperaAntesDelProgreso);
    Screen::MousePointer(vbDefault);  // the window answers while the work goes on
    enCurso_ = &progreso;
    const reportdata::Desenlace desenlace = trabajo.Corre();
    enCurso_ = nullptr;
    tarda.stop();
    progreso.hide();
    if (desenlace == reportdata::Desenlace::Cancelado) return;  // no error, no table
    if (desenlace == reportdata::Desenlace::Fallido) std::rethrow_exception(trabajo.Falla());

    ultimo_ = trabajo.Resultados();  // the captions stay for the next report
    Form1 visor(this);
    if (r.porFechas) visor.TieneDatos(ultimo_.tieneDatos);
    visor.TipoReporte(static_cast<quint8>(r.tipo));
    visor.Reporte(App::Archivo(r.archivo));
    visor.Tabla1(oBasesDD->cMiBase + "." + trabajo.Tabla());
    visor.Seleccion(s);
    visor.Resultados(ultimo_);
    visor.Filas([&trabajo](const QString& sentencia) { return trabajo.Lee(sentencia); });
    visor.Ajustes(oConexion.Settings());
    visor_ = &visor;
    visor.exec();
    visor_ = nullptr;
    if (visor.Falla()) std::rethrow_exception(visor.Falla());
    trabajo.Borra();
}
