// The report database's templates, their copies and the lists the window loads.
#include <QComboBox>
#include <QThread>
#include <QtTest>

#include "Prueba.h"
#include "app/Principal.h"
#include "platform/ado/Connection.h"
#include "reportdata/Globales.h"
#include "reportdata/Plantillas.h"
#include "ui/menu/frmMenu.h"

namespace {
QString Columnas(const QString& base, const QString& tabla) {
    return prueba::Valor(
               "SELECT GROUP_CONCAT(CONCAT_WS(' ', COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, "
               "COLUMN_DEFAULT) ORDER BY ORDINAL_POSITION) FROM information_schema.COLUMNS "
               "WHERE TABLE_SCHEMA='" +
               base + "' AND TABLE_NAME='" + tabla + "'")
        .toString();
}
QString Claves(const QString& base, const QString& tabla) {
    return prueba::Valor(
               "SELECT GROUP_CONCAT(CONCAT_WS(' ', INDEX_NAME, NON_UNIQUE, COLUMN_NAME)) FROM "
               "information_schema.STATISTICS WHERE TABLE_SCHEMA='" +
               base + "' AND TABLE_NAME='" + tabla + "'")
        .toString();
}
}  // namespace

class tst_plantillas : public QObject {
    Q_OBJECT

    // Starts the program on the base with the host recording the version, then closes it.
    void Arranca(const QString& base, const QString& version) {
        prueba::Programa p;
        p.Configura(base, version);
        QVERIFY(p.Arranca());
        prueba::Menu()->close();
    }

  private slots:
    void normalizaVersion_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("normal");
        QTest::newRow("5.11.8") << "5.11.8"
                                << "000500110008";
        QTest::newRow("5.9.12") << "5.9.12"
                                << "000500090012";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("two parts") << "6.1"
                                   << "00060001";
    }
    void normalizaVersion() {
        QFETCH(QString, version);
        QFETCH(QString, normal);
        prueba::Programa p;
        CreaObjetos();
        QCOMPARE(reportdata::NormalizaVersion(version), normal);
    }

    void templatesCreatedThenKeptOrRenewedByVersion() {
        const QString base = prueba::BaseDeVentas();
        prueba::Ejecuta(
            "DROP TABLE IF EXISTS orvaloreportes.ventasde3y, orvaloreportes.ventasde3yporvend");
        Arranca(base, "5.12.0");
        QVERIFY(prueba::ExisteTabla("orvaloreportes", "ventasde3y"));
        QVERIFY(prueba::ExisteTabla("orvaloreportes", "ventasde3yporvend"));

        auto marca = [] {
            prueba::Ejecuta("INSERT INTO orvaloreportes.ventasde3y (`Año`) VALUES (1999)");
            prueba::Ejecuta(
                "INSERT INTO orvaloreportes.ventasde3yporvend (Vendedor) VALUES ('marca')");
        };
        auto marcadas = [] {
            return prueba::Valor(
                       "SELECT (SELECT COUNT(*) FROM orvaloreportes.ventasde3y) + "
                       "(SELECT COUNT(*) FROM orvaloreportes.ventasde3yporvend)")
                .toInt();
        };
        marca();
        for (const char* v : {"5.11.8", "5.12.0", "10.0.0"}) {
            Arranca(base, v);
            QCOMPARE(marcadas(), 2);
        }
        for (const char* v : {"5.11.7", ""}) {
            Arranca(base, v);
            QCOMPARE(marcadas(), 0);
            QVERIFY(prueba::ExisteTabla("orvaloreportes", "ventasde3yporvend"));
            marca();
        }
        prueba::Ejecuta("DELETE FROM orvaloreportes.ventasde3y");
        prueba::Ejecuta("DELETE FROM orvaloreportes.ventasde3yporvend");
    }

    void copyTakesTheFirstFreeNameAndTheWholeStructure() {
        const QString base = prueba::BaseDeVentas();
        prueba::Programa p;
        p.Conecta(base);
        ado::Connection cn;
        oBasesDD->AbrirBdD(cn, base);
        QCOMPARE(NombreTablaTemporal(cn), "tbltemp0");
        cn.Execute("CREATE TABLE tbltemp0 (a int)");
        cn.Execute("CREATE TABLE tbltemp1 (a int)");
        for (QString plantilla : {"ventasde3y", "ventasxlinea", "ventasde3yporvend"}) {
            const QString copia = CopiaEstructura(cn, plantilla);
            QCOMPARE(copia, "tbltemp2");
            QCOMPARE(Columnas(base, copia), Columnas("orvaloreportes", plantilla));
            QCOMPARE(Claves(base, copia), Claves("orvaloreportes", plantilla));
            QCOMPARE(
                prueba::Valor("SELECT ENGINE FROM information_schema.TABLES WHERE TABLE_SCHEMA='" +
                              base + "' AND TABLE_NAME='tbltemp2'")
                    .toString(),
                "MyISAM");
            cn.Execute("DROP TABLE " + copia);
        }
    }

    // Two programs printing at the same moment never fill the same table.
    void simultaneousCopiesGetTheirOwnTables() {
        const QString base = prueba::BaseDeVentas();
        prueba::Programa p;
        p.Conecta(base);
        QStringList nombres[2];
        QList<QThread*> hilos;
        for (int h = 0; h < 2; ++h) {
            hilos << QThread::create([&, h] {
                ado::Connection cn;
                oBasesDD->AbrirBdD(cn, base);
                for (int i = 0; i < 15; ++i) {
                    QString plantilla = "ventasde3y";
                    nombres[h] << CopiaEstructura(cn, plantilla);
                }
            });
            hilos.last()->start();
        }
        for (QThread* h : hilos) {
            h->wait();
            delete h;
        }
        QSet<QString> distintos(nombres[0].begin(), nombres[0].end());
        distintos.unite(QSet<QString>(nombres[1].begin(), nombres[1].end()));
        QCOMPARE(distintos.size(), 30);
        QCOMPARE(
            prueba::Valor("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA='" +
                          base + "' AND TABLE_NAME LIKE 'tbltemp%'")
                .toInt(),
            30);
    }

    void windowListsSalespeopleAndLines() {
        const QString base = prueba::BaseDeVentas();
        prueba::Ejecuta("INSERT INTO " + base +
                        ".vendedores VALUES ('B2','Beto'),('A1','Ana'),('C3','Cía')");
        prueba::Ejecuta("INSERT INTO " + base +
                        ".lineas VALUES (3,'Pinturas'),(1,'Abrasivos'),(2,'Ñandú')");
        prueba::Programa p;
        p.Configura(base);
        QVERIFY(p.Arranca());
        frmMenu* m = prueba::Menu();
        QStringList claves, lineas, ids;
        for (int i = 0; i < m->cmbClasif[2]->count(); ++i) claves << m->cmbClasif[2]->itemText(i);
        for (int i = 0; i < m->DataCombo1->count(); ++i) {
            lineas << m->DataCombo1->itemText(i);
            ids << m->DataCombo1->itemData(i).toString();
        }
        QCOMPARE(claves, QStringList({"A1", "B2", "C3"}));
        // First the entry that goes back to all lines, with no line bound.
        QCOMPARE(lineas, QStringList({"(todas las líneas)", "Abrasivos", "Ñandú", "Pinturas"}));
        QCOMPARE(ids, QStringList({"", "1", "2", "3"}));
        QVERIFY(m->rsLineas.IsOpen());
        QVERIFY(m->oConexion.IsOpen());
        QCOMPARE(m->oConexion.DefaultDatabase(), base);
    }
};

QTEST_MAIN(tst_plantillas)
#include "tst_plantillas.moc"
