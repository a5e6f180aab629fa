#pragma once
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

// What a long report is doing: its name, the step, a bar, the time gone, and "Cancelar".
class frmProgreso : public QDialog {
    Q_OBJECT
  public:
    // que: what is being prepared, as the window says it.
    frmProgreso(QWidget* sobre, const QString& que);
    void Avanza(const QString& paso, int hecho, int total);
    // A progress message shown here instead of in a box: one line, cut in the middle when long;
    // the whole text in its tooltip.
    void Mensaje(const QString& texto);
    // Shown once the report has taken half a second, or at once under the first box the work
    // waits for, so that the box is the window on top.
    void MuestraSiTarda();

    // Escape, the window's close and the button: the report is cancelled.
    void reject() override;

  signals:
    void Cancelar();

  protected:
    void resizeEvent(QResizeEvent* evento) override;

  private:
    void MuestraMensaje();

    QWidget* sobre_;
    QLabel* paso_;
    QLabel* mensaje_;
    QString mensajeCompleto_;
    QProgressBar* barra_;
    QLabel* tiempo_;
    QPushButton* cancelar_;
    QElapsedTimer reloj_;
    QTimer tic_;
};
