#pragma once
#include <QString>
#include <functional>

#include <xlsxwriter.h>

class SaveFiles;

namespace report {

// The money format of every workbook, as the page writes money.
inline const char* const kFormatoMoneda = "\"$\"#,##0.00;-\"$\"#,##0.00";

// A workbook made by escribe in a private folder, then written whole to path (alone, or in the
// caller's batch); a workbook the library could not finish is error 75 naming the path.
void EscribeLibro(const QString& path, SaveFiles* batch,
                  const std::function<void(lxw_workbook*)>& escribe);

}  // namespace report
