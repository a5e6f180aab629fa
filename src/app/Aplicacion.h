#pragma once
#include <QApplication>

// The program's application object. It carries the one error policy: an error nobody
// handled shows the run-time error message and ends the run with a non-zero status.
class Aplicacion : public QApplication {
  public:
    Aplicacion(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;
};

// The standard dialogs and buttons in Spanish, with Qt's own translations.
void InstalaTraducciones(QCoreApplication& aplicacion);

// Shows the run-time error message of the exception in flight and ends the run.
void TerminaPorError();
