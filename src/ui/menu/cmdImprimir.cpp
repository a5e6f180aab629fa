// The Print command: a fresh work table, its builder, the viewer, and the table dropped.
#include <QApplication>
#include <QEventLoop>
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
    frmProgreso progreso(this, r.nombre);
    reportdata::Trabajo trabajo(r, plan, s, oConexion, [&](const QString& aviso) {
        if (mensajesEnCajas)
            MsgBox(aviso);
        else
            progreso.Mensaje(aviso);
    });
    connect(&trabajo, &reportdata::Trabajo::Avance, &progreso, &frmProgreso::Avanza);
    // Cancelling kills the running statements; asked again until the work has stopped, in
    // case a statement was just starting.
    QTimer insiste;
    connect(&insiste, &QTimer::timeout, this, [&] { trabajo.Cancela(oConexion); });
    connect(&progreso, &frmProgreso::Cancelar, this, [&] {
        trabajo.Cancela(oConexion);
        insiste.start(250);
    });
    QEventLoop espera;
    connect(&trabajo, &reportdata::Trabajo::Terminado, &espera, &QEventLoop::quit);
    QTimer tarda;  // stopped with the work: it must not show over the viewer
    tarda.setSingleShot(true);
    connect(&tarda, &QTimer::timeout, &progreso, &frmProgreso::MuestraSiTarda);
    tarda.start(kEsperaAntesDelProgreso);
    Screen::MousePointer(vbDefault);  // the window answers while the work goes on
    enCurso_ = &progreso;
    trabajo.Inicia();
    espera.exec();
    enCurso_ = nullptr;
    tarda.stop();
    insiste.stop();
    progreso.hide();
    if (trabajo.Falla()) {
        if (trabajo.Cancelado()) return;  // stopped by the user: no error, no table
        std::rethrow_exception(trabajo.Falla());
    }

    Form1 visor(this);
    if (r.porFechas) visor.TieneDatos(trabajo.TieneDatos());
    visor.TipoReporte(static_cast<quint8>(r.tipo));
    visor.Reporte(App::Archivo(r.archivo));
    visor.Tabla1(oBasesDD->cMiBase + "." + trabajo.Tabla());
    visor.Seleccion(reportdata::DescribeSeleccion(r, s));
    visor.exec();
    if (visor.Falla()) std::rethrow_exception(visor.Falla());
    trabajo.Borra();
}
