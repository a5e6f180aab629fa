#pragma once
#include "tramo5/tramo5.h"

// Constructors of the library's objects, one per source file.
tramo5::Objeto* NuevoLibKZCM();
tramo5::Objeto* NuevoBasesDD();
tramo5::Objeto* NuevoDelRegistro();
tramo5::Objeto* NuevoUtilerias();
tramo5::Objeto* NuevoDeArchivos();
