#pragma once
#include <QString>
#include <memory>

#include "tramo5/tramo5.h"

// Process-wide objects of the service library, held from Main to LiberaObjetos.
extern QString cArchivoIni;
extern std::unique_ptr<tramo5::libKZCM> oLibreria;
extern std::unique_ptr<tramo5::BasesDD> oBasesDD;
extern std::unique_ptr<tramo5::DeEquipo> oEquipo;
extern std::unique_ptr<tramo5::Utilerias> oUtilerias;
extern std::unique_ptr<tramo5::DeArchivos> oArchivos;
extern std::unique_ptr<tramo5::ImpresionTexto> oImpresion;
extern std::unique_ptr<tramo5::DeMonedas> oMonedas;
extern std::unique_ptr<tramo5::DelRegistro> oRegistro;
