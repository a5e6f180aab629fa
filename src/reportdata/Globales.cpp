#include "reportdata/Globales.h"

QString cArchivoIni;
std::unique_ptr<tramo5::libKZCM> oLibreria;
std::unique_ptr<tramo5::BasesDD> oBasesDD;
std::unique_ptr<tramo5::DeEquipo> oEquipo;
std::unique_ptr<tramo5::Utilerias> oUtilerias;
std::unique_ptr<tramo5::DeArchivos> oArchivos;
std::unique_ptr<tramo5::ImpresionTexto> oImpresion;
std::unique_ptr<tramo5::DeMonedas> oMonedas;
std::unique_ptr<tramo5::DelRegistro> oRegistro;
