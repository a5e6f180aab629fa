// What each report costs on a large sales database, through the code the program runs.
//   miravel-bench --servidor H --puerto N --usuario U --base B [--repeticiones 3] [--json FILE]
//   miravel-bench --arranque CARPETA      (internal: start the program from CARPETA and report)
#include <sys/resource.h>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>

#include "Medida.h"
#include "Referencia.h"
#include "app/Principal.h"
#include "platform/ado/Connection.h"
#include "platform/report/Export.h"
#include "platform/report/Report.h"
#include "platform/report/ReportPages.h"
#include "platform/vb/App.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/Plantillas.h"
#include "reportdata/Reportes.h"

namespace {

struct Caso {
    int reporte;
    QString vendedor;
    reportdata::Seleccion s;
};

struct Resultado {
    Tiempos copia, constructor, pdf, borrado, referencia;
    Contadores cuentas, cuentasReferencia;
    QString diferencia;
};

QString Valor(const QStringList& a, const QString& opcion, const QString& omision = {}) {
    const int i = a.indexOf(opcion);
    return i >= 0 && i + 1 < a.size() ? a[i + 1] : omision;
}

// Each line as soon as it is known: the runs take minutes.
void Imprime(const char* formato, auto... valores) {
    std::printf(formato, valores...);
    std::fflush(stdout);
}

// One run of a report as Print makes it, each stage timed.
void Corre(const Caso& c, ado::Connection& cn, Resultado& r, const QString& pdf) {
    const reportdata::Reporte& reporte = reportdata::kReportes[c.reporte];
    QString tabla;
    r.copia.ms << Mide([&] { tabla = CopiaEstructura(cn, reporte.estructura); });
    bool datos = false;
    r.constructor.ms << Mide([&] {
        r.cuentas = Cuenta(cn, [&] {
            datos = reportdata::LlenaTabla(reporte, c.s, cn, tabla, [](const QString&) {});
        });
    });
    r.pdf.ms << Mide([&] {
        report::Application app;
        auto informe = reportdata::AbreReporte(app, reporte, App::Archivo(reporte.archivo),
                                               oBasesDD->cMiBase + "." + tabla, datos,
                                               reportdata::DescribeSeleccion(reporte, c.s));
        report::ExportPdf(report::ReportPages(informe->Read()), pdf);
    });
    Cifras referencia;
    r.referencia.ms << Mide([&] {
        r.cuentasReferencia = Cuenta(cn, [&] { referencia = Referencia(c.reporte, c.s, cn); });
    });
    r.diferencia = Diferencias(DeLaTabla(c.reporte, cn, tabla), referencia);
    r.borrado.ms << Mide([&] { cn.Execute("Drop table " + tabla); });
}

// The program's start-up in this process: Main on a prepared folder, until the window shows.
int Arranque(const QString& carpeta) {
    App::SetPath(carpeta);
    if (!Main()) return 1;
    QTimer::singleShot(0, [] {
        rusage uso{};
        getrusage(RUSAGE_SELF, &uso);
        std::printf("mostrada %ld\n", uso.ru_maxrss);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return QCoreApplication::exec();
}

// A program folder whose settings point at the benchmark database.
void PreparaCarpeta(const QString& carpeta) {
    QDir programa(QCoreApplication::applicationDirPath());
    for (const QString& a : programa.entryList({"*.rpt", "libtramo5.so"}))
        QFile::link(programa.filePath(a), carpeta + "/" + a);
    QDir().mkpath(carpeta + "/orvalo");
    QFile ajustes(carpeta + "/orvalo/Orvalo.ini");
    ajustes.open(QIODevice::WriteOnly);
    ajustes.write(
        QString("[Orvalo]\nMySQLServer=%1\nMySQLPuerto=%2\nMySQLUsuario=%3\nMySQLPassword=%"
                "4\nActualizacionVersion=5.12.0\n")
            .arg(oBasesDD->cRuta, oBasesDD->cPuerto, oBasesDD->cUsuario, oBasesDD->cPassword)
            .toUtf8());
    QFile ini(carpeta + "/Miravel.ini");
    ini.open(QIODevice::WriteOnly);
    ini.write(QString("[Configuración]\nRuta de Orvalo=%1/orvalo\nBase de datos a usar=%2\n")
                  .arg(carpeta, oBasesDD->cMiBase)
                  .toUtf8());
}

QJsonObject MideArranque(int repeticiones) {
    QTemporaryDir carpeta;
    PreparaCarpeta(carpeta.path());
    Tiempos t;
    long memoria = 0;
    for (int i = 0; i < repeticiones; ++i) {
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(e);
        QElapsedTimer reloj;
        reloj.start();
        p.start(QCoreApplication::applicationFilePath(), {"--arranque", carpeta.path()});
        while (p.waitForReadyRead(30000) && !p.canReadLine()) {
        }
        const QString linea = QString::fromLatin1(p.readLine()).trimmed();
        t.ms << reloj.nsecsElapsed() / 1e6;
        p.waitForFinished(30000);
        if (!linea.startsWith("mostrada"))
            throw RuntimeError(
                1, "the program did not show its window: " + linea + p.readAllStandardError());
        memoria = qMax(memoria, linea.section(' ', 1).toLong());
    }
    QJsonObject o = t.Json();
    o["memoria_pico_kb"] = static_cast<double>(memoria);
    Imprime(
        "\nStart-up to the selection window shown (offscreen): median %.0f ms (min %.0f, max "
        "%.0f), peak memory %.1f MB\n",
        t.Mediana(), t.Minimo(), t.Maximo(), memoria / 1024.0);
    return o;
}

QString Filas(ado::Connection& cn, const QString& tabla) {
    QSqlQuery q = cn.Query("SELECT COUNT(*) FROM " + tabla);
    q.next();
    return QLocale(QLocale::English).toString(q.value(0).toLongLong());
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toLocal8Bit());
    QApplication aplicacion(argc, argv);
    aplicacion.setApplicationName("Miravel");
    const QStringList a = aplicacion.arguments();
    try {
        if (a.contains("--arranque")) return Arranque(Valor(a, "--arranque"));
        const int repeticiones = Valor(a, "--repeticiones", "3").toInt();
        CreaObjetos();
        oBasesDD->cRuta = Valor(a, "--servidor", "127.0.0.1");
        oBasesDD->cPuerto = Valor(a, "--puerto", "3306");
        oBasesDD->cUsuario = Valor(a, "--usuario", "root");
        oBasesDD->cPassword = qEnvironmentVariable("MIRAVEL_CLAVE");
        oBasesDD->cMiBase = Valor(a, "--base");
        ado::Connection cn;
        reportdata::PreparaPlantillas(cn, false);

        QSqlQuery ultima = cn.Query("SELECT MAX(Fecha) FROM facturas");
        ultima.next();
        const QDate hasta = ultima.value(0).toDate();
        QSqlQuery uno = cn.Query(
            "SELECT Vendedor FROM facturas WHERE Vendedor IS NOT NULL GROUP BY Vendedor ORDER BY "
            "COUNT(*) DESC LIMIT 1");
        uno.next();
        QVector<Caso> casos;
        for (int reporte = 0; reporte < 3; ++reporte)
            for (const QString& vendedor : {QString(), uno.value(0).toString()}) {
                Caso c{reporte, vendedor, {}};
                c.s.vendedor = vendedor;
                c.s.año = QString::number(hasta.year());
                c.s.fechaInicial = hasta.addMonths(-11).toString("01/MM/yyyy");
                c.s.fechaFinal = hasta.toString("dd/MM/yyyy");
                casos << c;
            }

        Imprime(
            "Miravel benchmark on %d cores. Database %s: %s facturas, %s remisiones, %s + %s "
            "detail lines, %s returns.\n",
            QThread::idealThreadCount(), qPrintable(oBasesDD->cMiBase),
            qPrintable(Filas(cn, "facturas")), qPrintable(Filas(cn, "remisiones")),
            qPrintable(Filas(cn, "facturasdetalle")), qPrintable(Filas(cn, "remisionesdetalle")),
            qPrintable(Filas(cn, "devolucionctes")));
        Imprime(
            "Ambas; times in ms, median of %d (min-max); counters of the builder's session.\n\n",
            repeticiones);
        Imprime("%-13s %-9s %10s %19s %9s %9s %9s %12s %12s %11s %10s %7s  %s\n", "report",
                "vendedor", "copy", "builder", "pdf", "drop", "stmts", "rnd_next", "read_next",
                "read_key", "baseline", "ratio", "figures");
        QTemporaryDir salida;
        QJsonArray json;
        for (const Caso& c : casos) {
            Resultado r;
            for (int i = 0; i < repeticiones; ++i) Corre(c, cn, r, salida.filePath("r.pdf"));
            const double razon = r.constructor.Mediana() / qMax(0.001, r.referencia.Mediana());
            const QString nombre = QString("%1 %2")
                                       .arg(reportdata::kReportes[c.reporte].nombre, -13)
                                       .arg(c.vendedor.isEmpty() ? "todos" : c.vendedor, -9);
            Imprime(
                "%s %10.1f %8.0f (%.0f-%.0f) %9.1f %9.1f %9lld %12lld %12lld %11lld %10.1f %7.1f  "
                "%s\n",
                qPrintable(nombre), r.copia.Mediana(), r.constructor.Mediana(),
                r.constructor.Minimo(), r.constructor.Maximo(), r.pdf.Mediana(),
                r.borrado.Mediana(), r.cuentas.preguntas, r.cuentas.rndNext, r.cuentas.readNext,
                r.cuentas.readKey, r.referencia.Mediana(), razon,
                r.diferencia.isEmpty() ? "equal" : qPrintable("DIFFER " + r.diferencia));
            json << QJsonObject{{"reporte", reportdata::kReportes[c.reporte].nombre},
                                {"vendedor", c.vendedor},
                                {"copia", r.copia.Json()},
                                {"constructor", r.constructor.Json()},
                                {"pdf", r.pdf.Json()},
                                {"borrado", r.borrado.Json()},
                                {"contadores", r.cuentas.Json()},
                                {"referencia", r.referencia.Json()},
                                {"contadoresReferencia", r.cuentasReferencia.Json()},
                                {"razon", razon},
                                {"iguales", r.diferencia.isEmpty()}};
            if (!r.diferencia.isEmpty()) return 1;
        }
        const QJsonObject arranque = MideArranque(repeticiones);
        const QString destino = Valor(a, "--json");
        if (!destino.isEmpty()) {
            QFile f(destino);
            if (!f.open(QIODevice::WriteOnly)) throw RuntimeError(75, "cannot write " + destino);
            f.write(QJsonDocument(QJsonObject{{"nucleos", QThread::idealThreadCount()},
                                              {"reportes", json},
                                              {"arranque", arranque}})
                        .toJson());
        }
        return 0;
    } catch (const RuntimeError& e) {
        std::fprintf(stderr, "miravel-bench: error %d: %s\n%s\n", e.Number(),
                     qPrintable(e.Description()), qPrintable(e.Statement()));
        return 1;
    }
}
