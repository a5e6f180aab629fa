#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTimer>

#include "platform/vb/Errores.h"
#include "platform/vb/RuntimeError.h"
#include "tramo5/ArchivoIni.h"
#include "tramo5/Fabrica.h"

namespace {

const QString kFormato = "dd/MM/yyyy";

// Moves the focus the way the Tab key would, so every kind of control behaves as with Tab.
void MueveFoco(bool adelante) {
    QWidget* foco = QApplication::focusWidget();
    if (!foco) return;
    QKeyEvent tab(QEvent::KeyPress, adelante ? Qt::Key_Tab : Qt::Key_Backtab,
                  adelante ? Qt::NoModifier : Qt::ShiftModifier);
    QApplication::sendEvent(foco, &tab);
}

class libKZCMImpl : public tramo5::libKZCM {
  public:
    QString LeeIni(const QString& seccion, const QString& clave, const QString& archivo) override {
        return ArchivoIni::Lee(archivo, seccion, clave);
    }
    void EscribeIni(const QString& seccion, const QString& clave, const QString& valor,
                    const QString& archivo) override {
        ArchivoIni::Escribe(archivo, seccion, clave, valor);
    }

    double kzVal(const QString& texto) override {
        static const QRegularExpression numero("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?");
        const QString compacto = QString(texto).remove(QRegularExpression("\\s"));
        const QRegularExpressionMatch m = numero.match(compacto);
        return m.hasMatch() ? m.captured(0).toDouble() : 0.0;
    }

    QString Pad(const QString& texto, int ancho, const QString& relleno, int lado) override {
        if (relleno.isEmpty()) return texto;
        return lado == 2 ? texto.rightJustified(ancho, relleno.at(0))
                         : texto.leftJustified(ancho, relleno.at(0));
    }

    QString FormatoFecha() override { return kFormato; }
    QString MascaraFecha() override { return "99/99/9999"; }

    QString FechaSQL(const QVariant& fecha) override {
        const QDate d = fecha.typeId() == QMetaType::QDate
                            ? fecha.toDate()
                            : QDate::fromString(fecha.toString().trimmed(), kFormato);
        if (!d.isValid())
            throw RuntimeError(vbError::kTiposNoCoinciden,
                               "No coinciden los tipos: " + fecha.toString());
        return d.toString("yyyy-MM-dd");
    }

    void Enter(int& tecla, const QString& clase) override {
        if (tecla == 13) {
            MueveFoco(true);
            tecla = 0;
        } else if (clase == "9") {
            if (tecla >= 32 && !(tecla >= '0' && tecla <= '9')) tecla = 0;
        } else if (clase == "!") {
            tecla = QChar(tecla).toUpper().unicode();
        }
    }

    void Teclas(int& codigo) override {
        if (codigo != Qt::Key_Up && codigo != Qt::Key_Down) return;
        MueveFoco(codigo == Qt::Key_Down);
        codigo = 0;
    }

    void Resalta(QWidget* control) override {
        auto* edicion = qobject_cast<QLineEdit*>(control);
        if (auto* combo = qobject_cast<QComboBox*>(control)) edicion = combo->lineEdit();
        // After the click that gave the focus, which would place the cursor again.
        if (edicion) QTimer::singleShot(0, edicion, &QLineEdit::selectAll);
    }
};

}  // namespace

tramo5::Objeto* NuevoLibKZCM() {
    return new libKZCMImpl;
}
