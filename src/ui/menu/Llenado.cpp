// The builders as the window calls them: the selection read from the controls at this moment.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "../../platform/vb/MsgBox.h"
#include "../../reportdata/LlenaTablaXlinea.h"
#include "../../reportdata/LlenaTablaXmes.h"
#include "../../reportdata/LlenaTablaXvend.h"
#include "frmMenu.h"

reportdata::Seleccion frmMenu::Seleccion() const {
    reportdata::Seleccion s;
    s.documentos.clear();
    for (int i = 0; i < cmbClasif[1]->count(); ++i) s.documentos << cmbClasif[1]->itemText(i);
    s.tipo = cmbClasif[1]->currentIndex();
    s.vendedor = cmbClasif[2]->currentText();
    s.año = txtAño->text();
    s.fechaInicial = mskFecha[0]->text();
    s.fechaFinal = mskFecha[1]->text();
    s.linea = DataCombo1->currentData();
    s.lineaNombre = DataCombo1->currentText();
    if (!Label[2]->isHidden()) s.vendedorNombre = Label[2]->text();
    return s;
}

void frmMenu::LlenaTablaXmes(QString& cTabla) {
    reportdata::LlenaTablaXmes(Seleccion(), oConexion, cTabla);
}

void frmMenu::LlenaTablaXlinea(QString& cTabla) {
    reportdata::LlenaTablaXlinea(Seleccion(), oConexion, cTabla);
}

bool frmMenu::LlenaTablaXvend(QString& cTabla) {
    return reportdata::LlenaTablaXvend(Seleccion(), oConexion, cTabla,
                                       [](const QString& aviso) { MsgBox(aviso); });
}
