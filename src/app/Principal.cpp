#include "app/Principal.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include "app/CreateObject.h"
#include "app/ParaPluginsPortables.h"
#include "platform/vb/App.h"
#include "platform/vb/MsgBox.h"
#include "reportdata/Globales.h"
#include "reportdata/Lectura.h"
#include "ui/menu/frmMenu.h"
#include "ui/viewer/Form1.h"

void CreaObjetos() {
    oLibreria = CreateObject<tramo5::libKZCM>("tramo5.libKZCM");
    oBasesDD = CreateObject<tramo5::BasesDD>("tramo5.BasesDD");
    oEquipo = CreateObject<tramo5::DeEquipo>("tramo5.DeEquipo");
    oUtilerias = CreateObject<tramo5::Utilerias>("tramo5.Utilerias");
    oArchivos = CreateObject<tramo5::DeArchivos>("tramo5.DeArchivos");
    oImpresion = CreateObject<tramo5::ImpresionTexto>("tramo5.ImpresionTexto");
    oMonedas = CreateObject<tramo5::DeMonedas>("tramo5.DeMonedas");
    oRegistro = CreateObject<tramo5::DelRegistro>("tramo5.DelRegistro");
}

bool Main() {
    QDir::setCurrent(App::Path());
    CreaObjetos();
    cArchivoIni = ArchivoDeConfiguracion();
    QDir().mkpath(QFileInfo(cArchivoIni).absolutePath());  // the window completes the file
    if (!LeeConfiguracion(*oLibreria, *oRegistro, *oBasesDD, cArchivoIni)) return false;
    const reportdata::Plan plan = LeePlan(*oLibreria, cArchivoIni);
    reportdata::cServidorLectura = LeeServidorLectura(*oLibreria, cArchivoIni);
    reportdata::CompruebaPlan(plan, reportdata::cServidorLectura);
    LeeEsperas(*oLibreria, cArchivoIni);

    auto* menu = new frmMenu;
    QObject::connect(menu, &frmMenu::Descargado, &LiberaObjetos);
    menu->plan = plan;
    menu->mensajesEnCajas = LeeMensajesDeAvance(*oLibreria, cArchivoIni);
    menu->Label7->setText(" Servidor: " + oBasesDD->cRuta + "\r\n" +
                          "  Base de datos: " + oBasesDD->cMiBase);
    menu->setWindowTitle(
        menu->windowTitle() + "     Versión " +
        QString("%1.%2.%3").arg(App::Major()).arg(App::Minor()).arg(App::Revision()));
    menu->show();
    menu->activateWindow();  // keys go to the window at once, even where no window manager gives
                             // the focus
    return true;
}

void LiberaObjetos() {
    oLibreria.reset();
    oBasesDD.reset();
    oEquipo.reset();
    oUtilerias.reset();
    oArchivos.reset();
    oImpresion.reset();
    oMonedas.reset();
    oRegistro.reset();
}

void CierraVentanas() {
    CierraCajas();
    const QWidgetList ventanas = QApplication::topLevelWidgets();
    for (QWidget* w : ventanas)
        if (w->isVisible() && !qobject_cast<frmMenu*>(w)) w->close();
    for (QWidget* w : ventanas)
        if (auto* menu = qobject_cast<frmMenu*>(w)) menu->close();
}
