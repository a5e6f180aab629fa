// What each report costs on a large sales database, through the code the program runs, beside the
// hand-written baseline and the floor (a plain scan of every row the report sums), in one run.
//   miravel-bench --servidor H --puerto N --usuario U --base B [--repeticiones 3] [--json FILE]
//                 [--titulo TEXT] [--fiel] [--sin-arranque]
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
#include "reportdata/Avance.h"
#include "reportdata/Detalle.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/Plantillas.h"
#include "reportdata/Reportes.h"
#include "reportdata/TablaTemporal.h"

namespace {

struct Caso {
    int reporte;
    QString vendedor;
    reportdata::Seleccion s;
};

struct Resultado {
    Tiempos copia, fiel, agrupado, pdf, borrado, referencia, piso;
    Contadores cuentasFiel, cuentasAgrupado, cuentasReferencia, cuentasPiso;
    QString lectura;  // what the progress window said the grouped plan reads
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

// Fills a fresh work table with one plan, timed and counted; gives the figures it wrote.
Cifras Llena(const Caso& c, reportdata::Plan plan, ado::Connection& cn, Tiempos& tiempo,
             Contadores& cuentas, Resultado& r, const QString& pdf) {
    const reportdata::Reporte& reporte = reportdata::kReportes[c.reporte];
    QString tabla;
    r.copia.ms << Mide([&] { tabla = CopiaEstructura(cn, reporte.estructura); });
    reportdata::Resultado hecho;
    reportdata::FijaAvance([&r](const QString& paso, int, int) {
        if (paso.contains(':')) r.lectura = paso;
    });
    tiempo.ms << Mide([&] {
        cuentas = Cuenta(cn, [&] {
            hecho = reportdata::LlenaTabla(reporte, plan, c.s, cn, tabla, [](const QString&) {});
        });
    });
    reportdata::FijaAvance({});
    if (plan == reportdata::Plan::Agrupado)
        r.pdf.ms << Mide([&] {
            report::Application app;
            auto informe = reportdata::AbreReporte(
                app, reporte, App::Archivo(reporte.archivo), oBasesDD->cMiBase + "." + tabla, hecho,
                c.s, [&cn](const QString& sentencia) { return ado::ReadAll(cn, sentencia); });
            report::ExportPdf(report::ReportPages(informe->Read()), pdf);
        });
    const Cifras cifras = DeLaTabla(c.reporte, cn, tabla, hecho);
    r.borrado.ms << Mide([&] { cn.Execute("Drop table " + tabla); });
    return cifras;
}

// A report with the grouped plan, the baseline and the floor, taking turns; with fiel, the row by
// row plan first, once (it takes long).
void Corre(const Caso& c, ado::Connection& cn, Resultado& r, int repeticiones, bool fiel,
           const QString& pdf) {
    Cifras agrupado, referencia, delFiel;
    if (fiel) delFiel = Llena(c, reportdata::Plan::Fiel, cn, r.fiel, r.cuentasFiel, r, pdf);
    for (int i = 0; i < repeticiones; ++i) {
        agrupado = Llena(c, reportdata::Plan::Agrupado, cn, r.agrupado, r.cuentasAgrupado, r, pdf);
        r.referencia.ms << Mide([&] {
            r.cuentasReferencia = Cuenta(cn, [&] { referencia = Referencia(c.reporte, c.s, cn); });
        });
        r.piso.ms << Mide([&] { r.cuentasPiso = Cuenta(cn, [&] { Piso(c.reporte, c.s, cn); }); });
    }
    if (fiel) r.diferencia = Diferencias(delFiel, agrupado);
    if (r.diferencia.isEmpty()) r.diferencia = Diferencias(agrupado, referencia);
}

// How the grouped plan read the lines, from what it said: each table's lines in their own
// order, each table's documents of the period, or some of each.
QString Orden(const QString& lectura) {
    const int detalle = lectura.count("cada renglón"), tablas = lectura.count(';') + 1;
    if (lectura.isEmpty()) return "-";
    return detalle == tablas ? "detail" : detalle == 0 ? "documents" : "mixed";
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

// The documents behind one figure, as a double click in the viewer reads them: the month before
// the last of the monthly report, and the last year of the salesperson who sold most.
QJsonObject MideDetalle(const QVector<Caso>& casos, ado::Connection& cn, int repeticiones) {
    QJsonObject o;
    for (const int i : {0, 5}) {
        const Caso& c = casos[i];
        const reportdata::Reporte& reporte = reportdata::kReportes[c.reporte];
        TablaTemporal trabajo(cn, reporte.estructura);
        const reportdata::Resultado hecho = reportdata::LlenaTabla(
            reporte, reportdata::Plan::Agrupado, c.s, cn, trabajo.cTabla, [](const QString&) {});
        const report::ReportContent contenido =
            reportdata::LeeInforme(reporte, trabajo.cTabla, hecho, c.s);
        const QDate hasta = QDate::fromString(c.s.fechaFinal, "dd/MM/yyyy");
        const reportdata::Cifra cifra =
            c.reporte == 0
                ? reportdata::Cifra{reportdata::Cifra::Celda, int(contenido.filas.indexOf(c.s.año)),
                                    qMax(0, hasta.month() - 2)}
                : reportdata::Cifra{reportdata::Cifra::Celda, 0,
                                    int(contenido.columnas.size()) - 1};
        Tiempos t;
        reportdata::Detalle d;
        for (int n = 0; n < repeticiones; ++n)
            t.ms << Mide(
                [&] { d = reportdata::LeeDetalle(reporte, c.s, contenido, hecho, cifra, cn); });
        Imprime(
            "Documents of one figure (%s): median %.0f ms (min %.0f, max %.0f), %lld documents\n",
            qPrintable(d.titulo), t.Mediana(), t.Minimo(), t.Maximo(),
            static_cast<long long>(d.documentos.size()));
        QJsonObject figura = t.Json();
        figura["documentos"] = static_cast<double>(d.documentos.size());
        o[c.reporte == 0 ? "mes" : "vendedor"] = figura;
    }
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

        const bool fiel = a.contains("--fiel");
        Imprime(
            "%s\nMiravel benchmark on %d cores. Database %s: %s facturas, %s remisiones, %s + %s "
            "detail lines, %s returns.\n",
            qPrintable(Valor(a, "--titulo")), QThread::idealThreadCount(),
            qPrintable(oBasesDD->cMiBase), qPrintable(Filas(cn, "facturas")),
            qPrintable(Filas(cn, "remisiones")), qPrintable(Filas(cn, "facturasdetalle")),
            qPrintable(Filas(cn, "remisionesdetalle")), qPrintable(Filas(cn, "devolucionctes")));
        Imprime(
            "Ambas; times in ms, median of %d (grouped: min-max), taking turns; rows read "
            "(rnd_next + read_next + read_key) on every session.\nreads: how the grouped plan "
            "walked the lines. floor: a plain scan summing the report's amount over every row of "
            "each table it sums, at once on a session each, as the grouped plan reads.%s\n\n",
            repeticiones, fiel ? " fiel: the row by row plan, once." : "");
        Imprime("%-13s %-9s %-9s %8s %17s %5s %9s %9s %9s %9s %9s %6s %6s  %s\n", "report",
                "vendedor", "reads", "fiel", "grouped", "stmts", "rows", "baseline", "rows",
                "floor", "rows", "xbase", "xfloor", "figures");
        auto filas = [](const Contadores& c) { return c.rndNext + c.readNext + c.readKey; };
        QTemporaryDir salida;
        QJsonArray json;
        for (const Caso& c : casos) {
            Resultado r;
            Corre(c, cn, r, repeticiones, fiel, salida.filePath("r.pdf"));
            const double razon = r.agrupado.Mediana() / qMax(0.001, r.referencia.Mediana());
            const double sobrePiso = r.agrupado.Mediana() / qMax(0.001, r.piso.Mediana());
            const QString nombre = QString("%1 %2 %3")
                                       .arg(reportdata::kReportes[c.reporte].nombre, -13)
                                       .arg(c.vendedor.isEmpty() ? "todos" : c.vendedor, -9)
                                       .arg(Orden(r.lectura), -9);
            Imprime(
                "%s %8.0f %7.0f (%.0f-%.0f) %5lld %9lld %9.0f %9lld %9.0f %9lld %6.2f %6.2f  %s\n",
                qPrintable(nombre), r.fiel.Mediana(), r.agrupado.Mediana(), r.agrupado.Minimo(),
                r.agrupado.Maximo(), r.cuentasAgrupado.preguntas, filas(r.cuentasAgrupado),
                r.referencia.Mediana(), filas(r.cuentasReferencia), r.piso.Mediana(),
                filas(r.cuentasPiso), razon, sobrePiso,
                r.diferencia.isEmpty() ? "equal" : qPrintable("DIFFER " + r.diferencia));
            json << QJsonObject{{"reporte", reportdata::kReportes[c.reporte].nombre},
                                {"vendedor", c.vendedor},
                                {"lectura", r.lectura},
                                {"copia", r.copia.Json()},
                                {"fiel", r.fiel.Json()},
                                {"agrupado", r.agrupado.Json()},
                                {"pdf", r.pdf.Json()},
                                {"borrado", r.borrado.Json()},
                                {"contadoresFiel", r.cuentasFiel.Json()},
                                {"contadoresAgrupado", r.cuentasAgrupado.Json()},
                                {"referencia", r.referencia.Json()},
                                {"contadoresReferencia", r.cuentasReferencia.Json()},
                                {"piso", r.piso.Json()},
                                {"contadoresPiso", r.cuentasPiso.Json()},
                                {"razon", razon},
                                {"sobrePiso", sobrePiso},
                                {"iguales", r.diferencia.isEmpty()}};
            if (!r.diferencia.isEmpty()) return 1;
        }
        Imprime("\n");
        const QJsonObject detalle = MideDetalle(casos, cn, repeticiones);
        const QJsonObject arranque = MideArranque(repeticiones);
        const QString destino = Valor(a, "--json");
        if (!destino.isEmpty()) {
            QFile f(destino);
            if (!f.open(QIODevice::WriteOnly)) throw RuntimeError(75, "cannot write " + destino);
            f.write(QJsonDocument(QJsonObject{{"titulo", Valor(a, "--titulo")},
                                              {"nucleos", QThread::idealThreadCount()},
                                              {"reportes", json},
                                              {"detalle", detalle},
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
