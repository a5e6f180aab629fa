#pragma once
#include <QApplication>

// The program's application object. It carries the error policy of everything outside a
// report: an error nobody handled (starting, the selection window's lookups) shows the run-time
// error message and ends the run with a non-zero status. A report is the exception: Print and
// the viewer's exports catch their errors, show the same message, drop the report's table and
// give the window back, since a failed report is no reason to lose the program.
class Aplicacion : public QApplication {
  public:
    Aplicacion(int& argc, char** argv);
    bool notify(QObject* receptor, QEvent* evento) override;
};

// The standard dialogs and buttons in Spanish, with Qt's own translations.
void InstalaTraducciones(QCoreApplication& aplicacion);

// Shows the run-time error message of the exception in flight and ends the run.
void TerminaPorError();
