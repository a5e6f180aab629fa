#pragma once
// The service library's objects, as its callers see them. The library itself is loaded at
// run time; callers reach the objects through these interfaces only.
#include <QString>
#include <QVariant>

class QComboBox;
class QWidget;
namespace ado {
class Connection;
class Recordset;
}  // namespace ado

namespace tramo5 {

class Objeto {
  public:
    virtual ~Objeto() = default;
};

class libKZCM : public Objeto {
  public:
    virtual QString LeeIni(const QString& seccion, const QString& clave,
                           const QString& archivo) = 0;
    virtual void EscribeIni(const QString& seccion, const QString& clave, const QString& valor,
                            const QString& archivo) = 0;
    virtual double kzVal(const QString& texto) = 0;
    virtual QString Pad(const QString& texto, int ancho, const QString& relleno, int lado) = 0;
    virtual QString FormatoFecha() = 0;
    virtual QString MascaraFecha() = 0;
    // A date value or a text in FormatoFecha, as yyyy-MM-dd.
    virtual QString FechaSQL(const QVariant& fecha) = 0;
    // Character code of a key press; 0 swallows the key. Class "9": digits only; "!": upper case.
    virtual void Enter(int& tecla, const QString& clase = {}) = 0;
    // Key code of a key down (Qt::Key); arrows up and down move the focus.
    virtual void Teclas(int& codigo) = 0;
    virtual void Resalta(QWidget* control) = 0;
};

class BasesDD : public Objeto {
  public:
    QString cRuta, cPuerto, cUsuario, cPassword, cMiBase;

    virtual void AbrirBdD(ado::Connection& conexion, const QString& base) = 0;
    virtual void CierraBdD(ado::Connection& conexion) = 0;
    virtual bool AbrirTabla(ado::Recordset& rs, ado::Connection& conexion, const QString& origen,
                            const QString& columnas = {}) = 0;
    virtual void CierraTabla(ado::Recordset& rs) = 0;
    virtual void AbrirDataSource(ado::Recordset& rs, ado::Connection& conexion,
                                 const QString& origen, QComboBox* combo, const QString& campos,
                                 bool llenar) = 0;
    virtual bool HayTabla(const QString& nombre, ado::Connection& conexion) = 0;
    virtual double Sum(ado::Connection& conexion, const QString& origen,
                       const QString& expresion) = 0;
    virtual QVariant NoNull(const QVariant& valor) = 0;
    virtual long long LastRec(ado::Connection& conexion, const QString& tabla) = 0;
};

class DelRegistro : public Objeto {
  public:
    virtual QString BuscarRegistroORW(const QString& carpeta) = 0;
    virtual QString DatosORW(const QString& clave) = 0;
    virtual void GuardaDatosORW(const QString& clave, const QString& valor) = 0;
};

class Utilerias : public Objeto {
  public:
    virtual QString Encripta(const QString& texto) = 0;
    virtual QString DesEncripta(const QString& texto) = 0;
    virtual QString CambXXX(const QString& texto, const QString& valor) = 0;
};

class DeArchivos : public Objeto {
  public:
    virtual void AbreDocumento(const QString& ruta, int modo, int ventana) = 0;
};

class DeEquipo : public Objeto {};
class ImpresionTexto : public Objeto {};
class DeMonedas : public Objeto {};

}  // namespace tramo5

// The library's one entry point: the object of a programmatic identifier, or null.
extern "C" tramo5::Objeto* CreaObjetoTramo5(const char* identificador);
