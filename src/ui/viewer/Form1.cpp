#include "ui/viewer/Form1.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>

#include "platform/vb/Screen.h"
#include "reportdata/Informe.h"
#include "ui/Icono.h"

namespace {
// Made when first needed and kept for the reports that follow.
std::unique_ptr<report::Application> oAplicacion;
}  // namespace

Form1::Form1(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Visualización del reporte");
    setWindowIcon(parent ? parent->windowIcon() : IconoMiravel());
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    CRXI = new report::CrystalActiveXReportViewer(this);
    connect(CRXI, &report::CrystalActiveXReportViewer::FiguraElegida, this, &Form1::AbreDocumentos);
    // Larger than designed: a report page wants room.
    QSize tamaño(665, 418);
    if (QScreen* pantalla = QApplication::primaryScreen())
        tamaño = tamaño.expandedTo(pantalla->availableSize() * 0.85);
    resize(tamaño);
    bPrimeraVez = true;
    tipoReporte_ = 0;
}

Form1::~Form1() = default;

void Form1::MuestraReporte() {
    // The viewer's first activation queues one Enter to the active window, unwaited: whatever
    // takes keys there (a prompt of the report engine, a default button) gets it after loading.
    if (QWidget* destino = QApplication::focusWidget() ? QApplication::focusWidget()
                                                       : QApplication::activeWindow())
        QApplication::postEvent(
            destino, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r"));
    if (!oAplicacion) oAplicacion = std::make_unique<report::Application>();
    reportdata::Resultado r = resultado_;
    r.tieneDatos = tieneDatos_;
    oReporte = reportdata::AbreReporte(
        *oAplicacion, reportdata::ReporteDe(static_cast<reportdata::TipoReporte>(tipoReporte_)),
        reporte_, tabla1_, r, seleccion_, filas_);
    CRXI->SetReportSource(oReporte.get());
    CRXI->ViewReport();
}

void Form1::Form_Activate() {
    if (!bPrimeraVez) return;
    bPrimeraVez = false;
    try {
        MuestraReporte();
    } catch (...) {
        // The Print command reports it once the window is gone.
        falla_ = std::current_exception();
        QTimer::singleShot(0, this, &Form1::reject);
    }
    Screen::MousePointer(vbDefault);
}

void Form1::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
    QDialog::changeEvent(evento);
}

void Form1::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    QTimer::singleShot(0, this, &Form1::Form_Activate);
}

void Form1::resizeEvent(QResizeEvent* evento) {
    QDialog::resizeEvent(evento);
    CRXI->setGeometry(0, 0, width(), height());
}
