#pragma once
// What the tests share: the private server, recorded message boxes and a program folder.
#include <sys/types.h>

#include <QtSql>
#include <QtTest>
#include <QtWidgets>

#include "platform/vb/MsgBox.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Seleccion.h"

#include <functional>

class frmMenu;
namespace ado {
class Connection;
}

namespace prueba {

// Stands in for the system's launcher (xdg-open, first on PATH): records what it was asked to
// open, and ends as told, at once or after a while as an editor in its foreground would.
class Abridor {
  public:
    Abridor();
    ~Abridor();
    QStringList Abiertos() const;
    void Limpia();
    void Termina(int codigo, int segundos = 0);

  private:
    QTemporaryDir carpeta;
    QByteArray rutaAnterior;
};

// Watches for a modal window nobody answers: one on top for longer than espera ms is closed and
// named, so that a test meeting a window it did not expect fails instead of hanging. A progress
// window is left to its report, which ends or is cancelled on its own.
class Vigia : public QObject {
  public:
    explicit Vigia(int espera = 20000);
    QStringList Cerradas() const { return cerradas_; }

  private:
    QTimer reloj_;
    QElapsedTimer desde_;
    QPointer<QWidget> arriba_;
    QStringList cerradas_;
};

// A selection in the fixture's year, 2010, over the dates given.
reportdata::Seleccion Sel(int tipo, const QString& vendedor = {},
                          const QString& desde = "01/01/2010", const QString& hasta = "31/12/2010");

struct Mensaje {
    QString texto;
    int botones;
};

// Records every message box and answers as told (vbOK, or the next answer queued).
class Cajas : public MessageBoxes {
  public:
    Cajas() { SetMessageBoxes(this); }
    ~Cajas() override { SetMessageBoxes(nullptr); }
    int Show(const QString& prompt, int buttons, const QString& title) override;
    QList<Mensaje> vistos;
    QList<int> respuestas;
};

// Runs a test program's functions. QtTest ends the whole program when a function throws; here that
// function fails alone and the program goes on with the next ones. Arguments, when given, go to
// QtTest as they are.
int Corre(QObject& caso, int argc, char** argv);

// Runs work that must not fail: a failure fails the running test and the test program goes on
// with the next one.
template <typename F>
auto SinFalla(F trabajo, const char* archivo = __builtin_FILE(), int linea = __builtin_LINE()) {
    using R = decltype(trabajo());
    try {
        return trabajo();
    } catch (const std::exception& e) {
        QTest::qFail(e.what(), archivo, linea);
        if constexpr (!std::is_void_v<R>) return R{};
    }
}

// The error work raised; error 0, saying so, when it raised none.
template <typename F>
RuntimeError Falla(F trabajo) {
    try {
        trabajo();
    } catch (const RuntimeError& e) {
        return e;
    }
    return RuntimeError(0, "no error was raised");
}

// miravel-export run to its end (killed after espera ms: a run never hangs a test).
struct Corrida {
    int estado = -1;  // -1: it did not end in time
    QString error;    // standard error
    QByteArray salida;
};
// The options that point the command at base on a test server without any configuration.
QStringList Conexion(const QString& base, const QString& puerto = {},
                     const QString& usuario = "root");
// The password goes in MIRAVEL_CLAVE only when given. Run as another user (and the group of his
// number) when one is given.
Corrida Exporta(const QStringList& argumentos, const QString& clave = {},
                QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment(),
                int espera = 120000, uid_t como = 0);
// A PDF's text as pdftotext gives it, with the options given (-layout by default).
QString TextoPdf(const QString& pdf, const QStringList& opciones = {"-layout"});
// The work tables (tbltemp...) in a database now.
int TablasDeTrabajo(const QString& base);

// A file's bytes (none when it cannot be read); a file written.
QByteArray Bytes(const QString& archivo);
void Pon(const QString& archivo, const QByteArray& datos);

// The port of the test server; on a cluster or with a replica, the first node or the primary.
QString Puerto();
// The second node of a cluster, or the replica.
QString Puerto2();
// A value of the file a server fixture wrote.
QString DelEntorno(const QString& archivo, const QByteArray& clave);
// Statements on the server, outside any database.
void Ejecuta(const QString& sql);
QVariant Valor(const QString& sql, int columna = 0);
void EjecutaArchivo(const QString& archivo, const QString& base = {});
// A new empty database with a unique name, dropped when the test program ends.
QString BaseNueva(const QString& prefijo = "prueba");
// A new database with the host's sales tables, and the report database with its template.
QString BaseDeVentas();
// The same, holding the hand-computed fixture of tests/fixtures/ventas.sql.
QString BaseConFixture();
// A database shaped as a business's: salespeople with names of three to five words (keys V01...),
// product lines whose names fill lineas.Linea (40 characters) and a product without a line; each
// month of 2008 to 2010 an invoice of every salesperson and one without, each with a line of
// every product, the month's invoices adding up to mes pesos in 2010 (half in 2009, a quarter
// in 2008).
QString BaseDeNegocio(int vendedores, int lineas, double mes);
bool ExisteTabla(const QString& base, const QString& tabla);
// Sales tables whose rows take four seconds each to read (a view over the table); Repone puts
// them back, and those a test renamed to ..._fuera.
void Lentas(const QString& base, const QStringList& tablas = {"facturas"});
void Repone(const QString& base);

// The selection window that Main showed.
frmMenu* Menu();

// A folder the program runs from: the service library, the report files, Miravel.ini and
// a host installation whose settings point at the private server. One made inside another's life
// leaves the outer one's service objects and folder in place when it goes.
class Programa {
  public:
    explicit Programa(bool conBiblioteca = true);
    ~Programa();
    QString Carpeta() const { return dir_.path(); }
    QString Host() const { return dir_.path() + "/orvalo"; }
    QString Ini() const { return dir_.path() + "/Miravel.ini"; }
    // Miravel.ini naming the host folder and the base; host settings for the private server.
    void Configura(const QString& base, const QString& version = "5.12.0");
    // Main, then the window made the active one, as a user finds it.
    frmMenu* AbreVentana();
    // The service objects made and both settings files read, as the program's start does.
    bool LeeAjustes();
    // The same on settings for base, without any window.
    void Conecta(const QString& base);

  private:
    QTemporaryDir dir_;
    QString carpetaAnterior_;
    bool interior_;  // made while another one's service objects live
};

}  // namespace prueba

// QTEST_MAIN, through prueba::Corre.
#define PRUEBA_MAIN(Clase)                              \
    int main(int argc, char** argv) {                   \
        QApplication aplicacion(argc, argv);            \
        aplicacion.setAttribute(Qt::AA_Use96Dpi, true); \
        Clase caso;                                     \
        QTEST_SET_MAIN_SOURCE_PATH                      \
        return prueba::Corre(caso, argc, argv);         \
    }
