// Keys, focus and validation of the selection window's fields.
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "reportdata/Globales.h"
#include "ui/menu/frmMenu.h"

namespace {

// The character code of a key press, as a key-press handler receives it; 0 for none.
int CodigoCaracter(const QKeyEvent* tecla) {
    // Shortcuts and access keys are no characters.
    if (tecla->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier)) return 0;
    switch (tecla->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        default:
            return tecla->text().isEmpty() ? 0 : tecla->text().at(0).unicode();
    }
}

}  // namespace

bool frmMenu::eventFilter(QObject* objeto, QEvent* evento) {
    switch (evento->type()) {
        case QEvent::KeyPress: {
            // The salesperson box types through its inner line edit.
            QObject* control = objeto == cmbClasif[2]->lineEdit() ? cmbClasif[2] : objeto;
            return !reenviando_ && Teclado(objeto, control, static_cast<QKeyEvent*>(evento));
        }
        case QEvent::FocusIn:
            if (objeto == txtAño) oLibreria->Resalta(txtAño);
            if (objeto == mskFecha[0] || objeto == mskFecha[1])
                oLibreria->Resalta(static_cast<QWidget*>(objeto));
            break;
        case QEvent::FocusOut: {
            const auto razon = static_cast<QFocusEvent*>(evento)->reason();
            if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason)
                ValidaControl(objeto);
            break;
        }
        default:
            break;
    }
    return QWidget::eventFilter(objeto, evento);
}

void frmMenu::ValidaControl(QObject* control) {
    if (control == txtAño) txtAño_Validate();
    for (int i = 0; i < 2; ++i)
        if (control == mskFecha[i]) mskFecha_Validate(i);
}

// Key down, then key press, as each field asks; true when the key was swallowed or replaced.
bool frmMenu::Teclado(QObject* receptor, QObject* control, QKeyEvent* tecla) {
    const bool fecha = control == mskFecha[0] || control == mskFecha[1];
    if (control == txtAño || fecha) {
        int codigo = tecla->key();
        oLibreria->Teclas(codigo);
        if (codigo == 0) return true;
    }
    const bool opcion =
        control == optReporte[0] || control == optReporte[1] || control == optReporte[2];
    if (opcion && (tecla->key() == Qt::Key_Down || tecla->key() == Qt::Key_Up)) {
        // The options stand in a row: down and up go to the next and the previous one.
        QKeyEvent lado(QEvent::KeyPress,
                       tecla->key() == Qt::Key_Down ? Qt::Key_Right : Qt::Key_Left,
                       tecla->modifiers());
        QCoreApplication::sendEvent(receptor, &lado);
        return true;
    }
    int caracter = CodigoCaracter(tecla);
    if (caracter == 0) return false;
    if (opcion)
        oLibreria->Enter(caracter);
    else if (control == txtAño)
        oLibreria->Enter(caracter, "9");
    else if (control == static_cast<QObject*>(cmdImprimir)) {
        if (caracter == 13) cmdImprimir->click();  // Enter on the button prints, as Space does
        return caracter == 13;
    } else
        oLibreria->Enter(caracter, "!");

    if (caracter == 0) return true;
    if (control == DataCombo1 && (caracter == 8 || caracter == 127)) {
        DataCombo1->setCurrentIndex(-1);  // back to all lines
        return true;
    }
    if (caracter == CodigoCaracter(tecla)) return false;
    QKeyEvent cambiada(QEvent::KeyPress, tecla->key(), tecla->modifiers(),
                       QString(QChar(caracter)));
    reenviando_ = true;
    QCoreApplication::sendEvent(receptor, &cambiada);
    reenviando_ = false;
    return true;
}
