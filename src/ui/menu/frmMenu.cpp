#include "ui/menu/frmMenu.h"
#include "ui/menu/frmProgreso.h"
#include "ui/viewer/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "platform/ado/Quote.h"
#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/ClaveVendedor.h"
#include "reportdata/Globales.h"
#include "reportdata/Plantillas.h"
#include "reportdata/Reglas.h"
#include "reportdata/Sentencias.h"

frmMenu::frmMenu() {
    setAttribute(Qt::WA_DeleteOnClose);
    CreaControles();
    for (int i = 0; i < 3; ++i)
        connect(optReporte[i], &QRadioButton::clicked, this, [this, i] { optReporte_Click(i); });
    connect(cmbClasif[2], &QComboBox::editTextChanged, this, [this] { cmbClasif_Change(2); });
    connect(cmbClasif[2], &QComboBox::activated, this, [this] { cmbClasif_Change(2); });
    connect(cmdImprimir, &QPushButton::clicked, this, &frmMenu::cmdImprimir_Click);
    Form_Load();
}

frmMenu::~frmMenu() {
    Descarga();
}

void frmMenu::Form_Load() {
    bPrimeraVez = true;
    reportdata::PreparaPlantillas(oConexion);

    cmbClasif[2]->clear();
    ado::Recordset rs;
    QStringList claves;
    if (oBasesDD->AbrirTabla(rs, oConexion, reportdata::kVendedoresPorClave, "Clave"))
        for (; !rs.Eof(); rs.MoveNext()) claves << rs.Fields("Clave").toString();
    oBasesDD->CierraTabla(rs);
    {
        const QSignalBlocker bloqueo(cmbClasif[2]);
        cmbClasif[2]->addItems(claves);
        cmbClasif[2]->setCurrentIndex(-1);
        cmbClasif[2]->setEditText({});
    }

    cmbClasif[1]->setCurrentIndex(2);
    const QDate hoy = QDate::currentDate();
    txtAño->setText(hoy.toString("yyyy"));
    const QString textos[2] = {"01/" + hoy.toString("MM") + "/" + hoy.toString("yyyy"),
                               hoy.toString(oLibreria->FormatoFecha())};
    for (int i = 0; i < 2; ++i) {
        mskFecha[i]->setInputMask(oLibreria->MascaraFecha());
        mskFecha[i]->setText(textos[i]);
        mskFecha[i]->setProperty("Tag", mskFecha[i]->text());
    }

    oBasesDD->AbrirDataSource(rsLineas, oConexion, reportdata::kLineasPorNombre, DataCombo1,
                              "Linea,Id", true);
    // Back to all lines with the mouse: an entry without a line.
    DataCombo1->insertItem(0, kTodasLasLineas, QVariant());
    DataCombo1->setCurrentIndex(-1);
}

void frmMenu::Form_Activate() {
    if (!bPrimeraVez) return;
    bPrimeraVez = false;
    optReporte_Click(0);
}

void frmMenu::Form_Unload() {
    oBasesDD->CierraTabla(rsLineas);
    oBasesDD->CierraBdD(oConexion);
    emit Descargado();
}

void frmMenu::Form_DblClick() {
    try {
        oArchivos->AbreDocumento(cArchivoIni, 0, 1);
    } catch (const RuntimeError& e) {
        ShowRuntimeError(e);  // no editor for the file is no reason to close the program
    }
}

void frmMenu::optReporte_Click(int index) {
    const bool v = index == 2;
    for (QWidget* w : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(Label5),
                       static_cast<QWidget*>(Label6), static_cast<QWidget*>(mskFecha[0]),
                       static_cast<QWidget*>(mskFecha[1]), static_cast<QWidget*>(DataCombo1)})
        w->setEnabled(v);
    Label1->setEnabled(!v);
    txtAño->setEnabled(!v);
}

void frmMenu::txtAño_Validate() {
    txtAño->setText(reportdata::AñoValido(txtAño->text()));
}

void frmMenu::mskFecha_Validate(int index) {
    QLineEdit* caja = mskFecha[index];
    if (reportdata::FechaValida(caja->text()))
        caja->setProperty("Tag", caja->text());
    else
        caja->setText(caja->property("Tag").toString());
}

void frmMenu::cmbClasif_Change(int index) {
    if (index != 2) return;
    Label[2]->hide();
    oConexion.EnsureOpen();
    if (!reportdata::ClaveCabe(oConexion, cmbClasif[2]->currentText())) return;
    ado::Recordset rs;
    const QString origen =
        oUtilerias->CambXXX(reportdata::kVendedorPorClave, ado::Quote(cmbClasif[2]->currentText()));
    if (oBasesDD->AbrirTabla(rs, oConexion, origen)) {
        Label[2]->setText(rs.Fields("Nombre").toString());
        Label[2]->show();
    }
    oBasesDD->CierraTabla(rs);
}

void frmMenu::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::ActivationChange && isActiveWindow()) Form_Activate();
    QWidget::changeEvent(evento);
}

void frmMenu::showEvent(QShowEvent* evento) {
    QWidget::showEvent(evento);
    // Where no window manager activates the window, its first showing counts as activation.
    QTimer::singleShot(0, this, &frmMenu::Form_Activate);
}

void frmMenu::closeEvent(QCloseEvent* evento) {
    // Closed while a report runs or is shown: the report is cancelled or its viewer closed
    // first, its table dropped, then the window closes.
    if (enCurso_ || visor_) {
        cerrarAlTerminar_ = true;
        if (enCurso_) enCurso_->reject();
        if (visor_) visor_->close();
        evento->ignore();
        return;
    }
    Descarga();
    evento->accept();
}

void frmMenu::Descarga() {
    if (descargado_) return;
    descargado_ = true;
    // No handler may run on the closed connection while the controls go away.
    for (QWidget* control : findChildren<QWidget*>()) {
        control->removeEventFilter(this);
        disconnect(control, nullptr, this, nullptr);
    }
    Form_Unload();
}

void frmMenu::mouseDoubleClickEvent(QMouseEvent* evento) {
    if (!childAt(evento->position().toPoint())) Form_DblClick();
}
