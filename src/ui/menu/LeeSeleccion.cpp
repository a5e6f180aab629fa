// What the builders read from the window: the controls as they stand at this moment.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "ui/menu/frmMenu.h"

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
    s.lineaNombre = s.linea.isValid() ? DataCombo1->currentText() : QString();
    // The name label stays hidden for a key the catalogue lacks.
    if (!Label[2]->isHidden()) s.vendedorNombre = Label[2]->text();
    s.vendedorDesconocido = !s.vendedor.trimmed().isEmpty() && Label[2]->isHidden();
    return s;
}
