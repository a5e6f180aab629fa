#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace report {

struct ReportContent;

// The name a copy of a report is offered under: the report and its period.
QString NombreDeCopia(const ReportContent& c);
// A copy's path as the dialogs offer it: the name in the folder last used (kept from one run to
// the next; the user's documents, or home, the first time or once that folder is gone), with the
// format's extension.
QString CopiaPropuesta(const QString& nombre, const QString& tipo);
// The folder of a copy just written, for the next one, printed to a file or saved.
void RecuerdaCarpeta(const QString& archivo);

// Saves a copy where the user says: the save dialog offers CopiaPropuesta, and a name typed
// without an extension gets the format's. A path that is not a file to write is refused with a
// message; a failure of escribe is said in the run-time error box. Nothing is written when the
// user cancels.
void GuardaCopia(QWidget* padre, const QString& nombre, const QString& tipo,
                 const std::function<void(const QString& ruta)>& escribe);

}  // namespace report
