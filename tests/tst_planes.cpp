// The grouped plan against the row by row plan it replaces: the same work table, captions,
// has-data result and progress sequence, on the hand-computed fixture and on generated
// databases of several seeds and sizes with the awkward data a real business has.
#include <QProcess>
#include <QSqlQuery>
#include <QtTest>
#include <cmath>

#include "Prueba.h"
#include "platform/ado/Connection.h"
#include "reportdata/CopiaEstructura.h"
#include "reportdata/Etiquetas.h"
#include "reportdata/Globales.h"
#include "reportdata/Informe.h"

using reportdata::Plan;
using reportdata::Seleccion;

namespace {

struct Hecho {
    QList<QVariantList> filas;  // in the order they were written
    QStringList etiquetas;
    bool datos = false;
    QStringList avisos;
};

// Awkward data on top of a generated database: keys with a quote, a backslash and XXX, a line
// spelled twice with other capitals, sales and returns for all of them.
void AñadeBordes(const QString& base) {
    const QString b = "`" + base + "`.";
    prueba::Ejecuta("INSERT INTO " + b +
                    "vendedores VALUES ('O''X','Comilla'),('A\\\\B','Diagonal'),('XXX1','Equis')");
    prueba::Ejecuta("INSERT INTO " + b +
                    "clientes VALUES ('CQ1','','O''X'),('CQ2','','A\\\\B'),('CQ3','','XXX1')");
    prueba::Ejecuta("INSERT INTO " + b + "lineas SELECT 900 + Id, LOWER(Linea) FROM " + b +
                    "lineas WHERE Id <= 2");
    prueba::Ejecuta("INSERT INTO " + b + "productos VALUES ('PQ1','',901),('PQ2','',902)");
    const QString fechas[] = {"CURDATE()", "CURDATE() - INTERVAL 1 YEAR",
                              "CURDATE() - INTERVAL 2 YEAR"};
    int id = 900000;
    for (const char* doc : {"facturas", "remisiones"})
        for (int c = 1; c <= 3; ++c)
            for (const QString& fecha : fechas) {
                ++id;
                const QString vendedor = c == 1 ? "'O''X'" : c == 2 ? "'A\\\\B'" : "'XXX1'";
                prueba::Ejecuta(QString("INSERT INTO %1%2 VALUES (%3,%4,'CQ%5',%6,10,1.6,0)")
                                    .arg(b, doc)
                                    .arg(id)
                                    .arg(fecha)
                                    .arg(c)
                                    .arg(vendedor));
                prueba::Ejecuta(QString("INSERT INTO %1%2detalle (Id,Producto,Cantidad,PrecioNeto,"
                                        "IVA) VALUES (%3,'PQ%4',1.5,7.3333,16)")
                                    .arg(b, doc)
                                    .arg(id)
                                    .arg(1 + c % 2));
                prueba::Ejecuta(QString("INSERT INTO %1devolucionctes VALUES (%2,'CQ%3',%4,1,0,0)")
                                    .arg(b)
                                    .arg(id)
                                    .arg(c)
                                    .arg(fecha));
                prueba::Ejecuta(QString("INSERT INTO %1devolucionctesdet (DevolucionCtes,"
                                        "Producto,Cantidad,Precio,IVA) VALUES (%2,'PQ%3',1,0.77,8)")
                                    .arg(b)
                                    .arg(id)
                                    .arg(1 + c % 2));
            }
}

QString BaseGenerada(double factor, int semilla) {
    const QString base = prueba::BaseDeVentas();
    QProcess generador;
    generador.setStandardOutputFile(QDir::temp().filePath(base + ".sql"));
    generador.start(MIRAVEL_DIR_PROGRAMA "/miravel-demo-datos",
                    {"--factor", QString::number(factor), "--anios", "4", "--semilla",
                     QString::number(semilla)});
    if (!generador.waitForFinished(120000) || generador.exitCode() != 0)
        qFatal("the demo generator failed");
    prueba::EjecutaArchivo(QDir::temp().filePath(base + ".sql"), base);
    prueba::Ejecuta("SET autocommit=1, unique_checks=1, foreign_key_checks=1");  // as generated
    QFile::remove(QDir::temp().filePath(base + ".sql"));
    AñadeBordes(base);
    return base;
}

bool Cerca(double a, double b) {
    return std::fabs(a - b) <= qMax(1e-6, 1e-9 * qMax(std::fabs(a), std::fabs(b)));
}

}  // namespace

class tst_planes : public QObject {
    Q_OBJECT
    prueba::Programa programa;

    Hecho Llena(ado::Connection& cn, const QString& base, int reporte, Plan plan,
                const Seleccion& s) {
        const reportdata::Reporte& r = reportdata::kReportes[reporte];
        const QString tabla = CopiaEstructura(cn, r.estructura);
        aEtiquetas.fill("previa");
        Hecho h;
        h.datos = prueba::SinFalla([&] {
            return reportdata::LlenaTabla(r, plan, s, cn, tabla,
                                          [&h](const QString& a) { h.avisos << a; })
                .tieneDatos;
        });
        h.filas = prueba::Filas("SELECT * FROM `" + base + "`." + tabla);
        h.etiquetas = QStringList(aEtiquetas.begin(), aEtiquetas.end());
        cn.Execute("DROP TABLE " + tabla);
        return h;
    }

    // Both plans on one selection; every cell compared, exactly where the sums are added in
    // the same order, within rounding where returns were subtracted one by one.
    void Compara(ado::Connection& cn, const QString& base, int reporte, const Seleccion& s) {
        const Hecho fiel = Llena(cn, base, reporte, Plan::Fiel, s);
        const Hecho agrupado = Llena(cn, base, reporte, Plan::Agrupado, s);
        const QString caso = QString("report %1, kind %2, salesperson '%3', line '%4', %5-%6")
                                 .arg(reporte)
                                 .arg(s.tipo)
                                 .arg(s.vendedor, s.linea.toString(), s.fechaInicial, s.año);
        QVERIFY2(fiel.etiquetas == agrupado.etiquetas, qPrintable(caso));
        QVERIFY2(fiel.datos == agrupado.datos, qPrintable(caso));
        QVERIFY2(fiel.filas.size() == agrupado.filas.size(), qPrintable(caso));
        const bool exacto = reporte != 2;
        for (int f = 0; f < fiel.filas.size(); ++f)
            for (int c = 0; c < fiel.filas[f].size(); ++c) {
                const QVariant &a = fiel.filas[f][c], &b = agrupado.filas[f][c];
                const bool igual = a.typeId() == QMetaType::Double
                                       ? (exacto ? a.toDouble() == b.toDouble()
                                                 : Cerca(a.toDouble(), b.toDouble()))
                                       : a == b;
                QVERIFY2(igual, qPrintable(caso + QString(": row %1 column %2: %3 and %4")
                                                      .arg(f)
                                                      .arg(c)
                                                      .arg(a.toString(), b.toString())));
            }
        if (reporte != 2) return;
        // The same sequence, each statement message naming the statement sent; the returns
        // come in one statement.
        const int ventas = 3 + 2 * (s.tipo == 2);
        for (int i = 0; i < ventas; ++i)
            if (fiel.avisos[i].startsWith("Consulta: "))
                QVERIFY(agrupado.avisos[i].startsWith("Consulta: Select Sum("));
            else
                QCOMPARE(agrupado.avisos[i], fiel.avisos[i]);
        QCOMPARE(agrupado.avisos[ventas], fiel.avisos[ventas]);
        QCOMPARE(agrupado.avisos.last(), fiel.avisos.last());
        QCOMPARE(agrupado.avisos.size(),
                 fiel.datos ? fiel.avisos.size() - fiel.filas.size() + 1 : fiel.avisos.size());
    }

    void TodasLasSelecciones(const QString& base) {
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        QSqlQuery q = cn.Query(
            "SELECT Vendedor FROM facturas WHERE Vendedor IS NOT NULL GROUP BY Vendedor ORDER BY "
            "COUNT(*) DESC LIMIT 1");
        const QString activo = q.next() ? q.value(0).toString() : "7";
        const QString año = QString::number(QDate::currentDate().year());
        for (int tipo = 0; tipo < 3; ++tipo)
            for (const QString& vendedor : {QString(), activo, QString("O'X"), QString("A\\B")}) {
                Seleccion s;
                s.tipo = tipo;
                s.vendedor = vendedor;
                for (const QString& final : {año, QString::number(año.toInt() - 1)}) {
                    s.año = final;
                    Compara(cn, base, 0, s);
                    Compara(cn, base, 1, s);
                }
                for (const QVariant& linea : {QVariant(), QVariant(1), QVariant(901)})
                    for (const auto& [desde, hasta] :
                         {std::pair{"01/01/" + año, QDate::currentDate().toString("dd/MM/yyyy")},
                          std::pair{"29/02/" + QString::number(año.toInt() - 2),
                                    "31/01/" + QString::number(año.toInt() - 1)},
                          std::pair{"01/03/" + QString::number(año.toInt() - 1), "28/02/" + año}}) {
                        s.linea = linea;
                        s.fechaInicial = desde;
                        s.fechaFinal = hasta;
                        Compara(cn, base, 2, s);
                    }
            }
    }

  private slots:
    void initTestCase() { programa.Conecta(prueba::BaseNueva("planes")); }
    void cleanup() { prueba::Ejecuta("SET GLOBAL sql_mode=DEFAULT"); }

    // Sales on 1 January and 31 December of each year, and on a day outside the three years on
    // either side: each report takes exactly the days of its years, in both plans. Worked out
    // by hand from tests/fixtures/limites.sql.
    void yearBoundaries() {
        const QString base = prueba::BaseDeVentas();
        prueba::EjecutaArchivo(MIRAVEL_DIR_FUENTES "/tests/fixtures/limites.sql", base);
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        const Seleccion s = prueba::Sel(2, "", "01/01/2010", "31/12/2010");
        auto cifras = [](const QList<QVariantList>& filas, int desde, int hasta) {
            QList<QVariantList> r;
            for (const QVariantList& f : filas) {
                QVariantList fila{f[0].toString()};
                for (int c = desde; c <= hasta; ++c) fila << f[c].toDouble();
                r << fila;
            }
            return r;
        };
        for (Plan plan : {Plan::Fiel, Plan::Agrupado}) {
            // Month by month: every figure in January or December.
            const QList<QVariantList> meses = Llena(cn, base, 0, plan, s).filas;
            QCOMPARE(cifras(meses, 1, 1),
                     (QList<QVariantList>{{"2008", 64.5}, {"2009", 4.0}, {"2010", 16.0}}));
            QCOMPARE(cifras(meses, 12, 12),
                     (QList<QVariantList>{{"2008", 2.0}, {"2009", 8.0}, {"2010", 159.75}}));
            for (const QVariantList& f : cifras(meses, 2, 11))
                for (int c = 1; c < f.size(); ++c) QCOMPARE(f[c].toDouble(), 0.0);

            const Hecho lineas = Llena(cn, base, 1, plan, s);
            QCOMPARE(lineas.etiquetas.mid(0, 3), QStringList({"Dos", "Uno", ""}));
            QCOMPARE(cifras(lineas.filas, 1, 3),
                     (QList<QVariantList>{{"2008", 66.0, 0.5, 0.0},
                                          {"2009", 8.0, 4.0, 0.0},
                                          {"2010", 31.75, 144.0, 0.0}}));

            const Hecho vendedores = Llena(cn, base, 2, plan, s);
            QCOMPARE(cifras(vendedores.filas, 1, 3),
                     (QList<QVariantList>{{"A", 0.5, 4.0, 144.0}, {"B", 66.0, 8.0, 31.75}}));
        }
    }

    // A key of six emoji is six characters, which the key column holds, though twelve UTF-16
    // units: the salesperson gets a row in both plans.
    void keyOfSixEmoji() {
        const QString base = prueba::BaseConFixture();
        const QString clave = QString::fromUtf8("\xF0\x9F\x98\x80").repeated(6);
        const QString b = "`" + base + "`.";
        prueba::Ejecuta("INSERT INTO " + b + "vendedores VALUES ('" + clave + "','Sonrisa')");
        prueba::Ejecuta("INSERT INTO " + b + "facturas VALUES (99,'2010-05-05','C1','" + clave +
                        "',3,0,0)");
        prueba::Ejecuta("INSERT INTO " + b +
                        "facturasdetalle (Id,Producto,Cantidad,PrecioNeto,IVA) VALUES "
                        "(99,'P1',1,3,0)");
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        const Seleccion s = prueba::Sel(0, clave);
        for (Plan plan : {Plan::Fiel, Plan::Agrupado}) {
            const Hecho h = Llena(cn, base, 2, plan, s);
            QVERIFY(h.datos);
            QCOMPARE(h.filas.value(0).value(0).toString(), clave);
            QCOMPARE(h.filas.value(0).value(3).toDouble(), 3.0);
        }
    }

    void fixture() {
        const QString base = prueba::BaseConFixture();
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        for (int tipo = 0; tipo < 3; ++tipo)
            for (const char* vendedor : {"", "7", "AXXXB", "X'Q", "   "}) {
                const Seleccion s = prueba::Sel(tipo, vendedor, "01/03/2010", "28/02/2011");
                for (int reporte = 0; reporte < 3; ++reporte) Compara(cn, base, reporte, s);
            }
    }

    void generated_data() {
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("semilla");
        QTest::newRow("small, seed 1") << 0.05 << 1;
        QTest::newRow("small, seed 2") << 0.05 << 2;
        QTest::newRow("larger, seed 3") << 0.3 << 3;
    }
    void generated() {
        QFETCH(double, factor);
        QFETCH(int, semilla);
        TodasLasSelecciones(BaseGenerada(factor, semilla));
    }

    // A line spelled twice with other capitals is one line, as the server groups it, with the
    // first spelling met; its sales are counted once.
    void oneLineForTwoSpellings() {
        const QString base = prueba::BaseConFixture();
        prueba::Ejecuta("INSERT INTO `" + base + "`.lineas VALUES (7,'pinturas')");
        prueba::Ejecuta("INSERT INTO `" + base + "`.productos VALUES ('P9','',7)");
        prueba::Ejecuta("INSERT INTO `" + base +
                        "`.remisionesdetalle (Id,Producto,Cantidad,PrecioNeto,IVA) VALUES "
                        "(2,'P9',1,1000,0)");
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        Seleccion s;
        s.año = "2010";
        for (Plan plan : {Plan::Fiel, Plan::Agrupado}) {
            const Hecho h = Llena(cn, base, 1, plan, s);
            QCOMPARE(h.etiquetas.mid(0, 12).filter("inturas", Qt::CaseInsensitive),
                     QStringList{"Pinturas"});
            const int columna = h.etiquetas.indexOf("Pinturas") + 1;
            QCOMPARE(h.filas[2][columna].toDouble(), 41.6 + 1000);
        }
    }

    // Both plans under ONLY_FULL_GROUP_BY, for one salesperson too; set for every session, as
    // the grouped plan asks on sessions of its own.
    void onlyFullGroupBy() {
        const QString base = prueba::BaseConFixture();
        prueba::Ejecuta("SET GLOBAL sql_mode=CONCAT(@@sql_mode, ',ONLY_FULL_GROUP_BY')");
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        for (const char* vendedor : {"", "8"})
            for (int reporte = 0; reporte < 3; ++reporte)
                Compara(cn, base, reporte, prueba::Sel(2, vendedor));
    }
};

QTEST_MAIN(tst_planes)
#include "tst_planes.moc"
