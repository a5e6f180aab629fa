#pragma once
#include <QWidget>
#include <array>

#include "platform/ado/Connection.h"
#include "platform/ado/Recordset.h"
#include "reportdata/Plan.h"
#include "reportdata/Reportes.h"
#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The report selection window: the report, its fields and the Print command.
class frmMenu : public QWidget {
    Q_OBJECT
  public:
    frmMenu();  // the load handler
    ~frmMenu() override;

    std::array<QRadioButton*, 3> optReporte{};
    QLineEdit* txtAño = nullptr;
    std::array<QLineEdit*, 2> mskFecha{};
    QComboBox* DataCombo1 = nullptr;
    std::array<QComboBox*, 3> cmbClasif{};  // elements 1 and 2 only
    QPushButton* cmdImprimir = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
           *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr;
    std::array<QLabel*, 3> Label{};  // element 2 only

    ado::Connection oConexion;
    ado::Recordset rsLineas;
    // How the builders ask the server.
    reportdata::Plan plan = reportdata::Plan::Agrupado;
    // The salesperson report's messages as boxes, or in the progress window.
    bool mensajesEnCajas = true;
    // ms: shorter reports show no progress window.
    static constexpr int kEsperaAntesDelProgreso = 500;
    // The line list's first entry, which binds no line.
    static inline const QString kTodasLasLineas = "(todas las líneas)";

    void optReporte_Click(int index);
    void txtAño_Validate();
    void mskFecha_Validate(int index);
    void cmbClasif_Change(int index);
    void cmdImprimir_Click();

    // What the builders read from the controls, taken at the moment of the call.
    reportdata::Seleccion Seleccion() const;

  signals:
    // The window has closed its connection and is going away.
    void Descargado();

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void closeEvent(QCloseEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;

  private:
    void CreaControles();
    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void Descarga();
    void Form_DblClick();
    bool Teclado(QObject* receptor, QObject* control, class QKeyEvent* tecla);
    void ValidaControl(QObject* control);
    void Imprime(const reportdata::Reporte& r);

    bool bPrimeraVez = true;
    reportdata::Resultado ultimo_;  // the last report's: its captions stay until overwritten
    class frmProgreso* enCurso_ = nullptr;  // the report running now
    class Form1* visor_ = nullptr;          // the report shown now
    bool cerrarAlTerminar_ = false;
    bool reenviando_ = false;
    bool descargado_ = false;
};
