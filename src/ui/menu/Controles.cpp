// The controls of the selection window, laid out as designed (positions in twips).
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "ui/Icono.h"
#include "ui/menu/frmMenu.h"

namespace {

const double kTwipsPorPixel = 15.0;

QRect Twips(int izquierda, int arriba, int ancho, int alto) {
    auto p = [](int t) { return qRound(t / kTwipsPorPixel); };
    return QRect(p(izquierda), p(arriba), p(ancho), p(alto));
}

template <typename T>
T* Crea(QWidget* padre, const char* nombre, QRect rect, const QString& texto = {}) {
    T* control = new T(padre);
    control->setObjectName(nombre);
    control->setGeometry(rect);
    if constexpr (!std::is_same_v<T, QComboBox>) control->setText(texto);
    return control;
}

}  // namespace

void frmMenu::CreaControles() {
    setWindowTitle("Miravel de ventas");
    setWindowIcon(IconoMiravel());
    setFixedSize(Twips(0, 0, 9390, 6330).size());
    if (const QScreen* pantalla = QGuiApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - rect().center());
    QFont letra("Sans Serif");
    letra.setStyleHint(QFont::SansSerif);
    letra.setPointSizeF(9.75);
    setFont(letra);

    optReporte[0] =
        Crea<QRadioButton>(this, "optReporte(0)", Twips(2280, 1200, 1215, 240), "Por mes");
    optReporte[1] =
        Crea<QRadioButton>(this, "optReporte(1)", Twips(4320, 1200, 1215, 240), "Por línea");
    optReporte[2] =
        Crea<QRadioButton>(this, "optReporte(2)", Twips(6360, 1200, 1695, 240), "Por vendedor");
    optReporte[0]->setChecked(true);
    txtAño = Crea<QLineEdit>(this, "txtAño", Twips(2760, 1800, 1215, 375));
    txtAño->setMaxLength(4);
    mskFecha[0] = Crea<QLineEdit>(this, "mskFecha(0)", Twips(2760, 2520, 1455, 375));
    mskFecha[1] = Crea<QLineEdit>(this, "mskFecha(1)", Twips(6360, 2520, 1455, 375));
    DataCombo1 = Crea<QComboBox>(this, "DataCombo1", Twips(2760, 3120, 3135, 360));
    DataCombo1->setPlaceholderText("(todas las líneas)");
    cmbClasif[2] = Crea<QComboBox>(this, "cmbClasif(2)", Twips(2760, 3720, 2535, 360));
    cmbClasif[2]->setEditable(true);
    cmbClasif[2]->setCompleter(nullptr);
    cmbClasif[2]->setInsertPolicy(QComboBox::NoInsert);
    cmbClasif[1] = Crea<QComboBox>(this, "cmbClasif(1)", Twips(2760, 4680, 3135, 360));
    cmbClasif[1]->addItems({"Facturas", "Remisiones", "Ambas"});
    cmdImprimir = Crea<QPushButton>(this, "cmdImprimir", Twips(7080, 5400, 1335, 615), "&Imprimir");

    Label1 = Crea<QLabel>(this, "Label1", Twips(600, 1800, 810, 240), "Año final:");
    Label2 = Crea<QLabel>(this, "Label2", Twips(600, 4680, 1590, 240), "Ventas a imprimir:");
    Label3 = Crea<QLabel>(this, "Label3", Twips(600, 3720, 945, 240), "Vendedor:");
    Label[2] = Crea<QLabel>(this, "Label(2)", Twips(2760, 4200, 5895, 345));
    Label[2]->hide();
    Label4 = Crea<QLabel>(this, "Label4", Twips(600, 2520, 1170, 240), "Fecha inicial:");
    Label5 = Crea<QLabel>(this, "Label5", Twips(4800, 2520, 1020, 240), "Fecha final:");
    Label6 = Crea<QLabel>(this, "Label6", Twips(600, 3120, 540, 240), "Linea:");
    Label7 = Crea<QLabel>(this, "Label7", Twips(1440, 240, 6735, 735));
    Label7->setAutoFillBackground(true);
    Label7->setFrameShape(QFrame::Box);
    Label7->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette banda = Label7->palette();
    banda.setColor(QPalette::Window, QColor(224, 243, 254));
    Label7->setPalette(banda);

    // Our sans-serif runs wider than the designed font: a caption takes the room it needs.
    for (QLabel* l : {Label1, Label2, Label3, Label4, Label5, Label6})
        l->resize(qMax(l->width(), l->sizeHint().width()), l->height());

    const QList<QWidget*> orden{optReporte[0], optReporte[1], optReporte[2], txtAño,
                                mskFecha[0],   mskFecha[1],   DataCombo1,    cmbClasif[2],
                                cmbClasif[1],  cmdImprimir};
    for (int i = 0; i + 1 < orden.size(); ++i) setTabOrder(orden[i], orden[i + 1]);
    for (QWidget* control : orden) control->installEventFilter(this);
    cmbClasif[2]->lineEdit()->installEventFilter(this);
}
