// The data-access layer and the database members of the service library, on the real server.

#include "Prueba.h"
#include "platform/ado/Connection.h"
#include "platform/ado/Quote.h"
#include "platform/ado/Recordset.h"
#include "platform/vb/RuntimeError.h"
#include "reportdata/Globales.h"

class tst_ado : public QObject {
    Q_OBJECT
    prueba::Programa programa;
    QString base;
    ado::Connection cn;

  private slots:
    // Whatever a test left of the session's mode goes, also when it failed.
    void cleanup() { cn.Execute("SET SESSION sql_mode=DEFAULT"); }

    void initTestCase() {
        base = prueba::BaseNueva("ado");
        programa.Conecta(base);
        oBasesDD->AbrirBdD(cn, base);
        cn.Execute(
            "CREATE TABLE t (id int PRIMARY KEY, `Año` smallint NOT NULL DEFAULT 0, "
            "importe double NOT NULL DEFAULT 7.5, nombre varchar(40) NULL)");
    }

    // A value written in a new row (the rest at their columns' defaults) and read back, under the
    // server's sql_mode: NO_BACKSLASH_ESCAPES changes how '\' reads in a literal. A row read
    // changed is written back by its key.
    void quotedValuesReadBackUnchanged_data() {
        QTest::addColumn<QString>("modo");
        QTest::addColumn<QString>("valor");
        for (const QString& modo : {QString("''"), QString("'NO_BACKSLASH_ESCAPES'")}) {
            int i = 0;
            for (const char* valor : {"O'Brien", "a\\b", "C:\\orvalo\\", "\\'", "Peña Ñandú",
                                      "XXXL", "'; DROP TABLE t; --", "línea\nnueva", ""})
                QTest::addRow("%s %d", qPrintable(modo), i++) << modo << QString(valor);
        }
    }
    void quotedValuesReadBackUnchanged() {
        QFETCH(QString, modo);
        QFETCH(QString, valor);
        cn.Execute("SET SESSION sql_mode=" + modo);
        QSqlQuery q = cn.Query("SELECT " + ado::Quote(valor));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), valor);
        cn.Execute("DELETE FROM t");
        ado::Recordset rs;
        QVERIFY(!oBasesDD->AbrirTabla(rs, cn, "t"));
        rs.AddNew();
        QCOMPARE(rs.Fields("importe").toDouble(), 7.5);
        QVERIFY(rs.Fields("nombre").isNull());
        rs.SetField("id", 1);
        rs.SetField("nombre", valor);
        rs.Update();
        QVERIFY(oBasesDD->AbrirTabla(rs, cn, "t where nombre=" + ado::Quote(valor)));
        QCOMPARE(rs.Fields("nombre").toString(), valor);
        QCOMPARE(rs.Fields(1).toInt() + rs.Fields("importe").toDouble(), 7.5);
        rs.SetField("importe", 1.25);
        rs.Update();
        QCOMPARE(prueba::Valor("SELECT importe FROM " + base + ".t").toDouble(), 1.25);
        rs.MoveNext();
        QVERIFY(rs.Eof());
        oBasesDD->CierraTabla(rs);
    }

    void failuresCarryTheServerError() {
        const RuntimeError e = prueba::Falla([&] { cn.Execute("SELEC 1"); });
        QCOMPARE(e.Number(), 1064);
        QCOMPARE(e.Statement(), "SELEC 1");
        ado::Connection cerrada;
        QVERIFY_THROWS_EXCEPTION(RuntimeError, cerrada.Execute("SELECT 1"));
        oBasesDD->cPassword = "mala";
        QVERIFY_THROWS_EXCEPTION(RuntimeError, oBasesDD->AbrirBdD(cerrada, base));
        oBasesDD->cPassword = "";
    }

    void largeResultInOneGo() {
        cn.Execute("DELETE FROM t");
        cn.Execute("INSERT INTO t (id) SELECT seq FROM seq_1_to_20000");
        QSqlQuery q = cn.Query("SHOW SESSION STATUS LIKE 'Questions'");
        q.next();
        const int preguntas = q.value(1).toInt();
        ado::Recordset rs;
        oBasesDD->AbrirTabla(rs, cn, "t");
        int filas = 0;
        for (; !rs.Eof(); rs.MoveNext()) ++filas;
        QCOMPARE(filas, 20000);
        q = cn.Query("SHOW SESSION STATUS LIKE 'Questions'");
        q.next();
        QCOMPARE(q.value(1).toInt() - preguntas, 2);  // the SELECT, and this SHOW
    }
};

PRUEBA_MAIN(tst_ado)
#include "tst_ado.moc"
