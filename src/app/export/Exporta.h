#pragma once
#include "app/export/Pedido.h"

// Makes the work table as Print does, fills it with the same builder, renders the same report
// file into every output asked for and drops the table, also when anything fails.
// Gives the exit status; raises ErrorDeUso for bad input and RuntimeError for failures.
int Exporta(const Pedido& pedido);
