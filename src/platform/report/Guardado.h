#pragma once
#include <QString>
#include <functional>

class QWidget;

namespace report {

// Saves a copy where the user says: the save dialog offers the name given (the report or the
// figure and its period) with the format's extension, in the folder last used (kept from one run
// to the next; the user's documents, or home, the first time or once that folder is gone). A path
// that is not a file to write is refused with a message; a failure of escribe is said in the
// run-time error box. Nothing is written when the user cancels.
void GuardaCopia(QWidget* padre, const QString& nombre, const QString& tipo,
                 const std::function<void(const QString& ruta)>& escribe);

}  // namespace report
