#pragma once
#include <QDialog>
#include <exception>
#include <memory>

#include "platform/ado/Connection.h"
#include "platform/report/CrystalActiveXReportViewer.h"
#include "platform/report/Report.h"
#include "reportdata/Resultado.h"
#include "reportdata/Seleccion.h"

// The report viewer window: opens the report file over the work table on its first activation.
class Form1 : public QDialog {
    Q_OBJECT
  public:
    explicit Form1(QWidget* parent = nullptr);  // the load handler
    ~Form1() override;

    void TieneDatos(bool vDato) { tieneDatos_ = vDato; }
    void TipoReporte(quint8 vDato) { tipoReporte_ = vDato; }
    void Reporte(const QString& vDato) { reporte_ = vDato; }
    void Tabla1(const QString& vDato) { tabla1_ = vDato; }
    // The selection, told under the title.
    void Seleccion(const reportdata::Seleccion& vDato) { seleccion_ = vDato; }
    // The captions and notes the builder left.
    void Resultados(const reportdata::Resultado& vDato) { resultado_ = vDato; }
    // Where the work table's rows are read: the session of the work that filled it.
    void Filas(report::RowSource vDato) { filas_ = std::move(vDato); }
    // How sessions of the viewer's own are opened: those that read a figure's documents.
    void Ajustes(const ado::ConnectionSettings& vDato) { ajustes_ = vDato; }

    // The failure that closed the window while loading the report, if any.
    std::exception_ptr Falla() const { return falla_; }

    report::CrystalActiveXReportViewer* CRXI;

  protected:
    void changeEvent(QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;
    void resizeEvent(QResizeEvent* evento) override;

  private:
    void Form_Activate();
    void MuestraReporte();
    // The documents of a figure the reader chose, read with progress and cancel, in a window of
    // their own.
    void AbreDocumentos(const report::Figura& figura);

    bool bPrimeraVez = true;
    QString tabla1_;
    QString reporte_;
    quint8 tipoReporte_ = 0;
    bool tieneDatos_ = false;
    reportdata::Seleccion seleccion_;
    reportdata::Resultado resultado_;
    report::RowSource filas_;
    ado::ConnectionSettings ajustes_;
    std::unique_ptr<report::Report> oReporte;
    std::exception_ptr falla_;
};
