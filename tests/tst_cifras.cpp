// The figures of the three reports. One table of cases worked out by hand from small readable
// databases (tests/fixtures), each run under both query plans and under every server mode a
// business may have; then both plans held equal on generated databases and in the benchmark.
#include <cmath>

#include "Prueba.h"
#include "platform/ado/Connection.h"
#include "platform/report/Formato.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Detalle.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"
#include "reportdata/TablaTemporal.h"

using reportdata::Plan;
using reportdata::Seleccion;
using Filas = QList<QVariantList>;
using prueba::Sel;

namespace {

const QString kPrevia = "previa";  // what every caption slot held before the report

struct Hecho {
    Filas filas;  // sorted by their first column
    reportdata::Resultado r;
    QStringList avisos;
    QString falla;  // the error's description, when the report failed
};

bool Cerca(double a, double b) {
    return std::fabs(a - b) <= qMax(1e-6, 1e-9 * qMax(std::fabs(a), std::fabs(b)));
}

// The first columns of each row as expected; numbers within rounding.
QString Diferencia(const Filas& obtenidas, const Filas& esperadas) {
    if (obtenidas.size() != esperadas.size())
        return QString("%1 rows instead of %2").arg(obtenidas.size()).arg(esperadas.size());
    for (int f = 0; f < esperadas.size(); ++f)
        for (int c = 0; c < esperadas[f].size(); ++c) {
            const QVariant &a = obtenidas[f].value(c), &b = esperadas[f][c];
            const bool igual = b.typeId() == QMetaType::Double ? Cerca(a.toDouble(), b.toDouble())
                                                               : a.toString() == b.toString();
            if (!igual)
                return QString("row %1 column %2: %3 instead of %4")
                    .arg(f)
                    .arg(c)
                    .arg(a.toString(), b.toString());
        }
    return {};
}

// A month row: the year and the twelve months, those not named 0.
QVariantList Año(int año, const QMap<int, double>& meses) {
    QVariantList fila{año};
    for (int m = 1; m <= 12; ++m) fila << meses.value(m, 0.0);
    return fila;
}
// A salesperson row of the years y1 to y1 + 2.
QVariantList V(const QString& vendedor, double a1, double a2, double a3, int y1 = 2008) {
    QVariantList fila{vendedor, a1, a2, a3};
    for (int y = y1; y < y1 + 3; ++y) fila << QString::number(y);
    return fila;
}
// The 13 caption slots: those given, then the slots the report does not write.
QStringList Rotulos(const QStringList& escritos, int cuantos) {
    QStringList r = escritos;
    while (r.size() < cuantos) r << QString();
    while (r.size() < 13) r << kPrevia;
    return r;
}

// A statement on a database, named $ in it.
void En(const QString& base, const QString& sql) {
    prueba::Ejecuta(QString(sql).replace("$", "`" + base + "`."));
}

// Databases the cases read, made once each.
QString Base(const QString& nombre) {
    static QHash<QString, QString> hechas;
    if (hechas.contains(nombre)) return hechas[nombre];
    QString base;
    auto en = [&](const QString& sql) { En(base, sql); };
    if (nombre == "ventas") {
        base = prueba::BaseConFixture();
    } else if (nombre == "limites") {
        base = prueba::BaseDeVentas();
        prueba::EjecutaArchivo(MIRAVEL_DIR_FUENTES "/tests/fixtures/limites.sql", base);
    } else if (nombre == "trece lineas") {
        base = prueba::BaseDeVentas();
        en("INSERT INTO $lineas SELECT seq, CONCAT('L', 100 + seq) FROM seq_1_to_13");
        en("INSERT INTO $productos SELECT CONCAT('P', seq), '', seq FROM seq_1_to_13");
        en("INSERT INTO $facturas SELECT seq, '2010-05-05', 'C', '7', 1, 0, 0 FROM seq_1_to_13");
        en("INSERT INTO $facturasdetalle (Id,Producto,Cantidad,PrecioNeto,IVA) "
           "SELECT seq, CONCAT('P', seq), 1, seq, 0 FROM seq_1_to_13");
        // A return of the line without a slot.
        en("INSERT INTO $devolucionctes VALUES (1,'C','2010-06-06',1,0,0)");
        en("INSERT INTO $devolucionctesdet (DevolucionCtes,Producto,Cantidad,Precio,IVA) VALUES "
           "(1,'P13',1,1,0)");
    } else if (nombre == "dos grafias") {
        // A line spelled twice with other capitals: one line, as the server groups it; a return
        // of a product with no line.
        base = prueba::BaseConFixture();
        en("INSERT INTO $lineas VALUES (7,'pinturas')");
        en("INSERT INTO $productos VALUES ('P9','',7)");
        en("INSERT INTO $remisionesdetalle (Id,Producto,Cantidad,PrecioNeto,IVA) "
           "VALUES (2,'P9',1,1000,0)");
        en("INSERT INTO $devolucionctes VALUES (7,'C3','2010-09-09',2,0,0)");
        en("INSERT INTO $devolucionctesdet (DevolucionCtes,Producto,Cantidad,Precio,IVA) VALUES "
           "(7,'P3',1,2,0)");
    } else if (nombre == "latin1") {
        // A key a latin1 database cannot hold matches nothing.
        base = prueba::BaseNueva("latin");
        prueba::Ejecuta("ALTER DATABASE `" + base + "` CHARACTER SET latin1");
        prueba::EjecutaArchivo(MIRAVEL_DIR_FUENTES "/demo/esquema.sql", base);
        prueba::EjecutaArchivo(MIRAVEL_DIR_FUENTES "/tests/fixtures/ventas.sql", base);
    } else if (nombre.startsWith("claves")) {
        // Keys a binary collation tells apart (ab, AB), that a latin1 template would take for one
        // (Mü, My) or could not hold (six emoji, six characters of the key's ten).
        base = prueba::BaseConFixture();
        const QMap<QString, QString> nuevas{
            {"7", "😀😀😀😀😀😀"}, {"8", "ab"}, {"9", "AB"}, {"AXXXB", "Mü"}, {"X''Q", "My"}};
        for (const auto& [tabla, columna] : {std::pair{"facturas", "Vendedor"},
                                             {"remisiones", "Vendedor"},
                                             {"clientes", "Vendedor"},
                                             {"vendedores", "Clave"}}) {
            en(QString("ALTER TABLE $%1 MODIFY %2 varchar(10) CHARACTER SET utf8mb4 COLLATE "
                       "utf8mb4_bin")
                   .arg(tabla, columna));
            for (auto n = nuevas.begin(); n != nuevas.end(); ++n)
                en(QString("UPDATE $%1 SET %2='%3' WHERE %2='%4'")
                       .arg(tabla, columna, n.value(), n.key()));
        }
    } else if (nombre == "clave larga") {
        base = prueba::BaseDeVentas();
        en("ALTER TABLE $facturas MODIFY Vendedor varchar(20)");
        en("INSERT INTO $facturas VALUES (1,'2010-05-05','C','ABCDEFGHIJK',1,0,0)");
        en("INSERT INTO $facturasdetalle (Id,Producto,Cantidad,PrecioNeto,IVA) VALUES "
           "(1,'P',1,1,0)");
    } else {
        qFatal("unknown fixture %s", qPrintable(nombre));
    }
    return hechas[nombre] = base;
}

// Awkward data on top of a generated database: keys with a quote, a backslash and XXX, a line
// spelled twice with other capitals, sales and returns for all of them in each of the last three
// years.
void AñadeBordes(const QString& base) {
    En(base,
       "INSERT INTO $vendedores VALUES ('O''X','Comilla'),('A\\\\B','Diagonal'),('XXX1','Equis')");
    En(base,
       "INSERT INTO $clientes VALUES ('CQ1','','O''X'),('CQ2','','A\\\\B'),('CQ3','','XXX1')");
    En(base, "INSERT INTO $lineas SELECT 900 + Id, LOWER(Linea) FROM $lineas WHERE Id <= 2");
    En(base, "INSERT INTO $productos VALUES ('PQ1','',901),('PQ2','',902)");
    const QString id = "%1 + 3 * c.seq + a.seq - 2, ", fecha = "CURDATE() - INTERVAL a.seq YEAR",
                  producto = "CONCAT('PQ', 1 + c.seq % 2), ",
                  cada = " FROM seq_1_to_3 c, seq_0_to_2 a";
    for (const QString doc : {"facturas", "remisiones"}) {
        const QString d = id.arg(doc == "facturas" ? 900000 : 900009);
        En(base, "INSERT INTO $" + doc + " SELECT " + d + fecha +
                     ", CONCAT('CQ', c.seq), ELT(c.seq, 'O''X', 'A\\\\B', 'XXX1'), 10, 1.6, 0" +
                     cada);
        En(base, "INSERT INTO $" + doc + "detalle (Id,Producto,Cantidad,PrecioNeto,IVA) SELECT " +
                     d + producto + "1.5, 7.3333, 16" + cada);
        En(base, "INSERT INTO $devolucionctes SELECT " + d + "CONCAT('CQ', c.seq), " + fecha +
                     ", 1, 0, 0" + cada);
        En(base,
           "INSERT INTO $devolucionctesdet (DevolucionCtes,Producto,Cantidad,Precio,IVA) SELECT " +
               d + producto + "1, 0.77, 8" + cada);
    }
}

QString BaseGenerada(double factor, int semilla, const QString& orden) {
    const QString base = prueba::BaseDeVentas();
    QProcess generador;
    generador.setStandardOutputFile(QDir::temp().filePath(base + ".sql"));
    generador.start(MIRAVEL_DIR_PROGRAMA "/miravel-demo-datos",
                    {"--factor", QString::number(factor), "--anios", "4", "--semilla",
                     QString::number(semilla), "--orden", orden});
    if (!generador.waitForFinished(120000) || generador.exitCode() != 0)
        qFatal("the demo generator failed");
    prueba::EjecutaArchivo(QDir::temp().filePath(base + ".sql"), base);
    prueba::Ejecuta("SET autocommit=1, unique_checks=1, foreign_key_checks=1");  // as generated
    QFile::remove(QDir::temp().filePath(base + ".sql"));
    AñadeBordes(base);
    return base;
}

// Some cases need the templates changed: the salesperson template in latin1, or the line
// template without a column. Put back by cleanup.
QStringList plantillasCambiadas;
void CambiaPlantilla(const QString& plantilla, const QString& cambio) {
    plantillasCambiadas
        << prueba::Valor("SHOW CREATE TABLE orvaloreportes." + plantilla, 1).toString();
    prueba::Ejecuta("ALTER TABLE orvaloreportes." + plantilla + " " + cambio);
}

// Each case: a database, a report and a selection, and what the work table, the captions and
// the page's side figures must hold; or the error it must give, leaving the table empty. Each
// runs under both plans and every server mode a business may have.
void Caso(const char* nombre, const QString& fixture, int reporte, const Seleccion& s,
          const Filas& filas, const QStringList& rotulos, double sinVendedor = 0,
          const QStringList& sinLugar = {}, const QList<double>& fuera = {0, 0},
          const QString& falla = {}, const QString& plantilla = {}) {
    for (const char* modo :
         {"DEFAULT", "'ANSI'", "'ANSI_QUOTES'", "'TRADITIONAL'", "'NO_BACKSLASH_ESCAPES'",
          "'PAD_CHAR_TO_FULL_LENGTH'", "CONCAT(@@sql_mode, ',ONLY_FULL_GROUP_BY')"})
        for (Plan plan : {Plan::Fiel, Plan::Agrupado})
            QTest::addRow("%s; %s; %s", plan == Plan::Fiel ? "fiel" : "agrupado", modo, nombre)
                << fixture << reporte << s << filas << rotulos << sinVendedor << sinLugar << fuera
                << falla << plantilla << QString(modo) << int(plan);
}

}  // namespace

class tst_cifras : public QObject {
    Q_OBJECT
    prueba::Programa programa;

    // A report filled into a work table of its own; the table is dropped afterwards.
    Hecho Llena(ado::Connection& cn, int reporte, Plan plan, const Seleccion& s) {
        const reportdata::Reporte& r = reportdata::kReportes[reporte];
        Hecho h;
        prueba::SinFalla([&] {
            TablaTemporal trabajo(cn, r.estructura);
            reportdata::Resultado previo;
            previo.aEtiquetas.fill(kPrevia);
            const RuntimeError e = prueba::Falla([&] {
                h.r = reportdata::LlenaTabla(
                    r, plan, s, cn, trabajo.cTabla, [&h](const QString& a) { h.avisos << a; },
                    nullptr, previo);
            });
            if (e.Number()) h.falla = e.Description();
            QSqlQuery q = cn.Query("SELECT * FROM " + trabajo.cTabla);
            while (q.next()) {
                QVariantList fila;
                for (int i = 0; i < q.record().count(); ++i) fila << q.value(i);
                h.filas << fila;
            }
            std::sort(h.filas.begin(), h.filas.end(),
                      [](const QVariantList& a, const QVariantList& b) {
                          return a[0].toString() < b[0].toString();
                      });
        });
        return h;
    }

  private slots:
    void initTestCase() { programa.Conecta(prueba::BaseNueva("cifras")); }
    void cleanup() {
        prueba::Ejecuta("SET GLOBAL sql_mode=DEFAULT");
        prueba::Ejecuta("USE orvaloreportes");
        for (const QString& creacion : plantillasCambiadas) {
            prueba::Ejecuta("DROP TABLE " + creacion.section('`', 1, 1));
            prueba::Ejecuta(creacion);
        }
        plantillasCambiadas.clear();
    }

    void figures_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("reporte");
        QTest::addColumn<Seleccion>("s");
        QTest::addColumn<Filas>("filas");
        QTest::addColumn<QStringList>("rotulos");
        QTest::addColumn<double>("sinVendedor");
        QTest::addColumn<QStringList>("sinLugar");
        // What the lines without a slot and the products without a line sold.
        QTest::addColumn<QList<double>>("fuera");
        QTest::addColumn<QString>("falla");
        QTest::addColumn<QString>("plantilla");  // a change to a template for this case
        QTest::addColumn<QString>("modo");       // the server's sql_mode
        QTest::addColumn<int>("plan");
        const QStringList meses = Rotulos({}, 0), años = Rotulos({"2008", "2009", "2010"}, 3),
                          lineas =
                              Rotulos({"O'Hara", "Pinturas", "Plomería", "XXXL", "Adhesivos"}, 12);
        Seleccion unaLinea = Sel(2), añoEnorme = Sel(2);
        unaLinea.linea = 1;
        añoEnorme.año = "40000";
        const QString emoji = "😀😀😀😀😀😀";

        // By month: header totals less the month's returns, once whatever the kinds.
        const Filas ambas{
            Año(2008, {{12, 232}}), Año(2009, {{3, 9}, {7, 30}}),
            Año(2010, {{1, 204}, {2, 41}, {3, 10}, {4, 15}, {5, -3}, {6, -10}, {8, -4}})};
        Caso("month, Ambas", "ventas", 0, Sel(2), ambas, meses);
        Caso("month, blanks are no salesperson", "ventas", 0, Sel(2, "   "), ambas, meses);
        Caso("month, Facturas", "ventas", 0, Sel(0),
             {Año(2008, {{12, 232}}), Año(2009, {{3, 9}}),
              Año(2010, {{1, 174}, {4, 15}, {5, -3}, {6, -10}, {8, -4}})},
             meses);
        Caso("month, Remisiones", "ventas", 0, Sel(1),
             {Año(2008, {}), Año(2009, {{3, -1}, {7, 30}}),
              Año(2010, {{1, 24}, {2, 41}, {3, 10}, {5, -3}, {6, -10}, {8, -4}})},
             meses);
        Caso(
            "month, salesperson 7: returns by the customer's", "ventas", 0, Sel(2, "7"),
            {Año(2008, {}), Año(2009, {{3, 10}, {7, 30}}), Año(2010, {{1, 144}, {5, -3}, {8, -4}})},
            meses);
        Caso("month, a key with XXX", "ventas", 0, Sel(2, "AXXXB"),
             {Año(2008, {}), Año(2009, {}), Año(2010, {{4, 10}})}, meses);
        Caso("month, a key with a quote", "ventas", 0, Sel(0, "X'Q"),
             {Año(2008, {}), Año(2009, {}), Año(2010, {{4, 5}})}, meses);
        Caso("month, first and last day of each year", "limites", 0, Sel(2),
             {Año(2008, {{1, 64.5}, {12, 2}}), Año(2009, {{1, 4}, {12, 8}}),
              Año(2010, {{1, 16}, {12, 159.75}})},
             meses);
        Caso("month, no kind chosen", "ventas", 0, Sel(-1), {}, meses, 0, {}, {},
             "no hay ventas a imprimir elegidas");
        Caso("month, a year past 16 bits", "ventas", 0, añoEnorme, {}, meses, 0, {}, {}, "40000");

        // By line: invoice lines first, in the server's order; a line with returns only left
        // out; a product without a line in no total.
        Caso("line, Ambas", "ventas", 1, Sel(2),
             {{2008, 116.0, 0.0, 0.0, 0.0, 0.0},
              {2009, 0.0, 0.0, 0.0, -5.0, 30.0},
              {2010, 0.0, 41.6, 76.0, 15.0, 0.0}},
             lineas, 0, {}, {0, 16});
        Caso("line, Facturas", "ventas", 1, Sel(0),
             {{2008, 116.0, 0.0, 0.0, 0.0},
              {2009, 0.0, 0.0, 0.0, -5.0},
              {2010, 0.0, 21.6, 45.0, 15.0}},
             Rotulos({"O'Hara", "Pinturas", "Plomería", "XXXL"}, 12), 0, {}, {0, 16});
        Caso("line, salesperson 7", "ventas", 1, Sel(2, "7"),
             {{2008, 0.0, 0.0, 0.0}, {2009, 0.0, 0.0, 30.0}, {2010, 31.6, 50.0, 0.0}},
             Rotulos({"Pinturas", "Plomería", "Adhesivos"}, 12), 0, {}, {0, 16});
        Caso("line, a key with XXX", "ventas", 1, Sel(2, "AXXXB"),
             {{2008, 0.0}, {2009, 0.0}, {2010, 10.0}}, Rotulos({"Pinturas"}, 12));
        Caso("line, no line at all", "ventas", 1, Sel(1, "X'Q"), {{2008}, {2009}, {2010}},
             Rotulos({}, 12));
        Caso("line, first and last day of each year", "limites", 1, Sel(2),
             {{2008, 66.0, 0.5}, {2009, 8.0, 4.0}, {2010, 31.75, 144.0}},
             Rotulos({"Dos", "Uno"}, 12));
        Caso("line, twelve at most", "trece lineas", 1, Sel(0),
             {{2008, 0.0},
              {2009, 0.0},
              {2010, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 8.0, 9.0, 10.0, 11.0, 12.0}},
             Rotulos({"L101", "L102", "L103", "L104", "L105", "L106", "L107", "L108", "L109",
                      "L110", "L111", "L112"},
                     12),
             0, {"L113"}, {12, 0});
        Caso("line, one line for two spellings", "dos grafias", 1, Sel(2),
             {{2008, 116.0, 0.0}, {2009, 0.0, 0.0}, {2010, 0.0, 1041.6}}, lineas, 0, {}, {0, 14});
        Caso("line, a template without Linea1 is named", "ventas", 1, Sel(2), {}, Rotulos({}, 12),
             0, {}, {}, "orvaloreportes.ventasxlinea", "ventasxlinea DROP COLUMN Linea1");

        // By salesperson: detail lines of the period, returns by the customer's salesperson.
        const Filas cinco{V("7", 0, 30, 93.6), V("8", 0, 0, 25), V("9", 0, 0, 11),
                          V("AXXXB", 0, 0, 10), V("X'Q", 0, 0, 5)};
        Caso("salesperson, Ambas", "ventas", 2, Sel(2), cinco, años, 111);
        Caso("salesperson, Remisiones: one only in delivery notes", "ventas", 2, Sel(1),
             {V("7", 0, 30, 4.4), V("8", 0, 0, 10), V("9", 0, 0, 11)}, años, -5);
        Caso("salesperson, one of them", "ventas", 2, Sel(2, "8"), {V("8", 0, 0, 25)}, años);
        Caso("salesperson, one line", "ventas", 2, unaLinea,
             {V("7", 0, 0, 31.6), V("AXXXB", 0, 0, 10)}, años);
        Caso("salesperson, a fourth year adds its sales and returns", "ventas", 2,
             Sel(2, "", "01/03/2010", "28/02/2011"),
             {V("7", 0, 30, 93.6), V("8", 0, 0, 115), V("9", 0, 0, 11), V("AXXXB", 0, 0, 10),
              V("X'Q", 0, 0, 5)},
             años, 111);
        Caso("salesperson, from August two years back", "ventas", 2,
             Sel(2, "", "01/08/2011", "31/12/2011"),
             {V("7", 0, 93.6, 0, 2009), V("8", 0, 25, 90, 2009), V("9", 0, 11, 0, 2009),
              V("AXXXB", 0, 10, 0, 2009), V("X'Q", 0, 5, 0, 2009)},
             Rotulos({"2009", "2010", "2011"}, 3));
        Caso("salesperson, 29 February is the 28th two years back", "ventas", 2,
             Sel(2, "9", "29/02/2012", "01/03/2012"), {V("9", 11, 0, 0, 2010)},
             Rotulos({"2010", "2011", "2012"}, 3));
        Caso("salesperson, first and last day of each year", "limites", 2, Sel(2),
             {V("A", 0.5, 4, 144), V("B", 66, 8, 31.75)}, años);
        Caso("salesperson, nothing sold keeps the captions", "ventas", 2,
             Sel(2, "", "01/01/1990", "31/12/1990"), {}, Rotulos({}, 0));
        Caso("salesperson, a key longer than the report's", "clave larga", 2, Sel(0), {},
             Rotulos({}, 0), 0, {}, {}, "ABCDEFGHIJK");

        // Keys compare as the sales columns hold them, whatever the templates' character set.
        const Filas binarias{V("AB", 0, 0, 11), V("My", 0, 0, 5), V("Mü", 0, 0, 10),
                             V("ab", 0, 0, 25), V(emoji, 0, 30, 93.6)};
        Caso("salesperson, binary keys", "claves", 2, Sel(2), binarias, años, 111);
        Caso("salesperson, binary keys, latin1 template", "claves", 2, Sel(2), binarias, años, 111,
             {}, {0, 0}, {}, "ventasde3yporvend CONVERT TO CHARACTER SET latin1");
        Caso("salesperson, six emoji chosen", "claves", 2, Sel(2, emoji), {V(emoji, 0, 30, 93.6)},
             años);
        Caso("month, binary keys", "claves", 0, Sel(2, "ab"),
             {Año(2008, {}), Año(2009, {}), Año(2010, {{1, 60}, {2, 40}, {6, -10}})}, meses);
        Caso("salesperson, an emoji a latin1 database cannot hold", "latin1", 2, Sel(2, "7😀"), {},
             Rotulos({}, 0));
        Caso("month, an emoji a latin1 database cannot hold", "latin1", 0, Sel(2, "7😀"),
             {Año(2008, {}), Año(2009, {}), Año(2010, {})}, meses);
    }
    void figures() {
        QFETCH(QString, fixture);
        QFETCH(int, reporte);
        QFETCH(Seleccion, s);
        QFETCH(Filas, filas);
        QFETCH(QStringList, rotulos);
        QFETCH(double, sinVendedor);
        QFETCH(QStringList, sinLugar);
        QFETCH(QList<double>, fuera);
        QFETCH(QString, falla);
        QFETCH(QString, plantilla);
        QFETCH(QString, modo);
        QFETCH(int, plan);
        const QString base = Base(fixture);
        if (!plantilla.isEmpty())
            CambiaPlantilla(plantilla.section(' ', 0, 0), plantilla.section(' ', 1));
        // The mode of every session from now on: the grouped plan opens sessions of its own.
        prueba::Ejecuta("SET GLOBAL sql_mode=" + modo);
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        const Hecho h = Llena(cn, reporte, Plan(plan), s);
        if (!falla.isEmpty()) {
            QVERIFY2(h.falla.contains(falla), qPrintable(h.falla));
            QCOMPARE(h.filas.size(), 0);
            return;
        }
        QVERIFY2(h.falla.isEmpty(), qPrintable(h.falla));
        const QString diferencia = Diferencia(h.filas, filas);
        QVERIFY2(diferencia.isEmpty(), qPrintable(diferencia));
        QCOMPARE(QStringList(h.r.aEtiquetas.begin(), h.r.aEtiquetas.end()), rotulos);
        QVERIFY2(Cerca(h.r.ventasSinVendedor, sinVendedor),
                 qPrintable(QString::number(h.r.ventasSinVendedor)));
        QCOMPARE(h.r.lineasSinLugar, sinLugar);
        QCOMPARE((QList<double>{h.r.ventasSinLugar, h.r.ventasSinLinea}), fuera);
        QCOMPARE(h.r.tieneDatos, reporte != 2 || !filas.isEmpty());
    }

    // The documents behind every figure of every report add up to it to the cent, totals too:
    // returns with their sign, each line's share of a document in that line's list, and the
    // figures the page's notes name.
    void documentsAddUpToEveryFigure_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("reporte");
        QTest::addColumn<Seleccion>("s");
        Seleccion linea = Sel(2);
        linea.linea = 1;
        for (int plan : {0, 1})
            for (int reporte : {0, 1, 2})
                for (const Seleccion& s : {Sel(0), Sel(1), Sel(2), Sel(2, "7"), linea})
                    if (reporte == 2 || s.linea.isNull())
                        QTest::addRow("%s, report %d, kind %d, salesperson '%s', line %s",
                                      plan ? "agrupado" : "fiel", reporte, s.tipo,
                                      qPrintable(s.vendedor), qPrintable(s.linea.toString()))
                            << "ventas" << reporte << s;
        QTest::newRow("thirteen lines") << "trece lineas" << 1 << Sel(0);
    }
    void documentsAddUpToEveryFigure() {
        QFETCH(QString, fixture);
        QFETCH(int, reporte);
        QFETCH(Seleccion, s);
        const reportdata::Reporte& r = reportdata::kReportes[reporte];
        const Plan plan =
            QString(QTest::currentDataTag()).startsWith("fiel") ? Plan::Fiel : Plan::Agrupado;
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, Base(fixture));
        oBasesDD->cMiBase = Base(fixture);
        TablaTemporal trabajo(cn, r.estructura);
        const reportdata::Resultado hecho = prueba::SinFalla([&] {
            return reportdata::LlenaTabla(r, plan, s, cn, trabajo.cTabla, [](const QString&) {});
        });
        const report::ReportContent c = reportdata::LeeInforme(r, trabajo.cTabla, hecho, s);
        auto suma = [&](int fila, int columna) {
            double total = 0;
            for (int f = 0; f < c.filas.size(); ++f)
                for (int k = 0; k < c.columnas.size(); ++k)
                    if ((fila < 0 || f == fila) && (columna < 0 || k == columna))
                        total += c.celdas[f][k];
            return total;
        };
        auto detalle = [&](reportdata::Cifra cifra) {
            return reportdata::LeeDetalle(r, s, c, hecho, cifra, cn);
        };
        for (int f = -1; f < c.filas.size(); ++f)
            for (int k = -1; k < c.columnas.size(); ++k) {
                const reportdata::Detalle d = detalle({reportdata::Cifra::Celda, f, k});
                QVERIFY2(report::Redondea(d.Total()) == report::Redondea(suma(f, k)),
                         qPrintable(QString("%1: %2 instead of %3")
                                        .arg(d.titulo)
                                        .arg(d.Total())
                                        .arg(suma(f, k))));
            }
        auto igual = [&](reportdata::Cifra::Clase clase, double cifra) {
            QCOMPARE(report::Redondea(detalle({clase}).Total()), report::Redondea(cifra));
        };
        if (r.porFechas && !HayVendedor(s))
            igual(reportdata::Cifra::SinVendedor, hecho.ventasSinVendedor);
        if (r.tipo == reportdata::TipoReporte::PorLinea) {
            igual(reportdata::Cifra::SinLinea, hecho.ventasSinLinea);
            igual(reportdata::Cifra::LineasSinLugar, hecho.ventasSinLugar);
        }
    }

    // Both plans on every selection of generated databases, awkward keys and lines added: the
    // same captions, the same result, every cell equal (exactly, but where returns were
    // subtracted one by one), and the same messages. Documents numbered in date order or not;
    // selections of most of the history (lines read detail first) and of a small share of it.
    void plansAgree_data() {
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("semilla");
        QTest::addColumn<QString>("orden");
        QTest::newRow("small, seed 1") << 0.05 << 1 << "fecha";
        QTest::newRow("small, seed 2, random order") << 0.05 << 2 << "azar";
        QTest::newRow("larger, seed 3, random order") << 0.3 << 3 << "azar";
    }
    void plansAgree() {
        QFETCH(double, factor);
        QFETCH(int, semilla);
        QFETCH(QString, orden);
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, BaseGenerada(factor, semilla, orden));
        QSqlQuery q = cn.Query(
            "SELECT Vendedor FROM facturas WHERE Vendedor IS NOT NULL GROUP BY Vendedor ORDER BY "
            "COUNT(*) DESC LIMIT 1");
        const QString activo = q.next() ? q.value(0).toString() : "7";
        const int año = QDate::currentDate().year();
        auto fecha = [](int d, int m, int a) { return QDate(a, m, d).toString("dd/MM/yyyy"); };
        for (int tipo = 0; tipo < 3; ++tipo)
            for (const QString& vendedor : {QString(), activo, QString("O'X"), QString("A\\B")}) {
                Seleccion s = Sel(tipo, vendedor);
                for (int final : {año, año - 1, año - 3}) {
                    s.año = QString::number(final);
                    Compara(cn, 0, s);
                    Compara(cn, 1, s);
                }
                for (const QVariant& linea : {QVariant(), QVariant(1), QVariant(901)})
                    for (const auto& [desde, hasta] :
                         {std::pair{fecha(1, 1, año), QDate::currentDate().toString("dd/MM/yyyy")},
                          std::pair{fecha(29, 2, año - 2), fecha(31, 1, año - 1)},
                          std::pair{fecha(1, 3, año - 1), fecha(28, 2, año)},
                          std::pair{fecha(1, 6, año - 5), fecha(31, 3, año - 3)}}) {
                        s.linea = linea;
                        s.fechaInicial = desde;
                        s.fechaFinal = hasta;
                        Compara(cn, 2, s);
                    }
            }
    }

    // The benchmark keeps working: one run on the fixture, its plans equal, the monthly report a
    // statement per figure row by row and a handful grouped (with what opens its other sessions).
    void benchmarkRunsAndAgrees() {
        QTemporaryDir dir;
        QProcess p;
        p.start(MIRAVEL_DIR_PROGRAMA "/miravel-bench",
                prueba::Conexion(Base("ventas")) +
                    QStringList{"--repeticiones", "1", "--fiel", "--json", dir.filePath("r.json")});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError() + p.readAllStandardOutput());
        const QJsonObject r =
            QJsonDocument::fromJson(prueba::Bytes(dir.filePath("r.json"))).object();
        const QJsonArray reportes = r["reportes"].toArray();
        QCOMPARE(reportes.size(), 6);
        for (const QJsonValue& v : reportes) QVERIFY(v.toObject()["iguales"].toBool());
        const QJsonObject mes = reportes[0].toObject();
        QVERIFY(mes["contadoresFiel"].toObject()["Questions"].toInt() > 108);
        QVERIFY(mes["contadoresAgrupado"].toObject()["Questions"].toInt() < 20);
        QVERIFY(r["arranque"].toObject()["mediana_ms"].toDouble() > 0);
    }

  private:
    void Compara(ado::Connection& cn, int reporte, const Seleccion& s) {
        const Hecho fiel = Llena(cn, reporte, Plan::Fiel, s);
        const Hecho agrupado = Llena(cn, reporte, Plan::Agrupado, s);
        const QString caso = QString("report %1, kind %2, salesperson '%3', line '%4', %5-%6: ")
                                 .arg(reporte)
                                 .arg(s.tipo)
                                 .arg(s.vendedor, s.linea.toString(), s.fechaInicial, s.año);
        QVERIFY2(fiel.falla.isEmpty() && agrupado.falla.isEmpty(),
                 qPrintable(caso + fiel.falla + agrupado.falla));
        QVERIFY2(fiel.r.aEtiquetas == agrupado.r.aEtiquetas, qPrintable(caso));
        QVERIFY2(fiel.r.tieneDatos == agrupado.r.tieneDatos &&
                     fiel.r.lineasSinLugar == agrupado.r.lineasSinLugar &&
                     Cerca(fiel.r.ventasSinVendedor, agrupado.r.ventasSinVendedor) &&
                     Cerca(fiel.r.ventasSinLugar, agrupado.r.ventasSinLugar) &&
                     Cerca(fiel.r.ventasSinLinea, agrupado.r.ventasSinLinea),
                 qPrintable(caso));
        // Exactly where the sums are added in the same order; within rounding where returns
        // were subtracted one by one.
        const QString diferencia = Diferencia(agrupado.filas, fiel.filas);
        QVERIFY2(diferencia.isEmpty(), qPrintable(caso + diferencia));
        QVERIFY2(reporte == 2 || agrupado.filas == fiel.filas, qPrintable(caso));
        if (reporte != 2) return;
        // The same messages, each statement message naming the statement sent; the returns in
        // one statement.
        const int ventas = 3 + 2 * (s.tipo == 2);
        for (int i = 0; i < ventas; ++i)
            if (fiel.avisos[i].startsWith("Consulta: "))
                QVERIFY(agrupado.avisos[i].startsWith("Consulta: Select Sum("));
            else
                QCOMPARE(agrupado.avisos[i], fiel.avisos[i]);
        QCOMPARE(agrupado.avisos.last(), fiel.avisos.last());
        QCOMPARE(agrupado.avisos.size(), fiel.r.tieneDatos
                                             ? fiel.avisos.size() - fiel.filas.size() + 1
                                             : fiel.avisos.size());
    }
};

PRUEBA_MAIN(tst_cifras)
#include "tst_cifras.moc"
