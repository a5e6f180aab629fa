// The selection window through its real widgets: start state, keys, checks and the lookup.
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include "Prueba.h"
#include "reportdata/Globales.h"
#include "ui/menu/frmMenu.h"

class tst_frmMenu : public QObject {
    Q_OBJECT
    QString base;
    prueba::Abridor abridor;
    std::unique_ptr<prueba::Programa> programa;
    std::unique_ptr<prueba::Vigia> vigia;
    frmMenu* m = nullptr;
    const QString año = QDate::currentDate().toString("yyyy");

    // Gives the focus to a field and types into it, as a user would.
    void Escribe(QWidget* campo, const QString& texto) {
        campo->setFocus();
        QTRY_VERIFY(campo->hasFocus());
        if (auto* l = qobject_cast<QLineEdit*>(campo)) l->selectAll();
        QTest::keyClicks(campo, texto);
    }
    QWidget* Foco() {
        QWidget* f = QApplication::focusWidget();
        return f && f->parentWidget() == m->cmbClasif[2] ? m->cmbClasif[2] : f;
    }

  private slots:
    void initTestCase() {
        base = prueba::BaseDeVentas();
        prueba::Ejecuta(
            "INSERT INTO " + base +
            ".vendedores VALUES ('V1','Ana Torres'),('V12','Beto Ruiz'),('O''B','Olga O''Brien')");
        prueba::Ejecuta("INSERT INTO " + base +
                        ".lineas VALUES (3,'Pinturas'),(1,'Abrasivos'),(2,'Ñandú')");
    }

    void init() {
        vigia = std::make_unique<prueba::Vigia>();
        programa = std::make_unique<prueba::Programa>();
        programa->Configura(base);
        QVERIFY(m = programa->AbreVentana());
        abridor.Limpia();
    }
    void cleanup() {
        programa.reset();
        QVERIFY2(vigia->Cerradas().isEmpty(), qPrintable(vigia->Cerradas().join(", ")));
    }

    // At start: the monthly report, the year of today, the dates and the line disabled, both
    // kinds, no salesperson; the lists in key and name order, the line list first offering all.
    void startState() {
        QVERIFY(m->optReporte[0]->isChecked());
        QCOMPARE(m->txtAño->text(), año);
        QVERIFY(m->txtAño->isEnabled() && !m->mskFecha[0]->isEnabled() &&
                !m->DataCombo1->isEnabled());
        QCOMPARE(m->cmbClasif[1]->currentText(), "Ambas");
        QCOMPARE(m->cmbClasif[2]->currentText(), "");
        QVERIFY(m->Label[2]->isHidden());
        QCOMPARE(m->mskFecha[0]->text(), "01/" + QDate::currentDate().toString("MM/yyyy"));
        QCOMPARE(m->mskFecha[1]->text(), QDate::currentDate().toString("dd/MM/yyyy"));
        QStringList claves, lineas, ids;
        for (int i = 0; i < m->cmbClasif[2]->count(); ++i) claves << m->cmbClasif[2]->itemText(i);
        for (int i = 0; i < m->DataCombo1->count(); ++i) {
            lineas << m->DataCombo1->itemText(i);
            ids << m->DataCombo1->itemData(i).toString();
        }
        QCOMPARE(claves, QStringList({"O'B", "V1", "V12"}));
        QCOMPARE(lineas, QStringList({"(todas las líneas)", "Abrasivos", "Ñandú", "Pinturas"}));
        QCOMPARE(ids, QStringList({"", "1", "2", "3"}));
        QCOMPARE(m->oConexion.DefaultDatabase(), base);
    }

    void arrowsChooseTheReport() {
        m->optReporte[0]->setFocus();
        QTest::keyClick(m->optReporte[0], Qt::Key_Down);
        QTest::keyClick(m->optReporte[1], Qt::Key_Right);
        QVERIFY(m->optReporte[2]->isChecked());
        QVERIFY(m->mskFecha[0]->isEnabled() && !m->txtAño->isEnabled());
        QTest::keyClick(m->optReporte[2], Qt::Key_Up);
        QVERIFY(m->optReporte[1]->isChecked());
        QVERIFY(!m->mskFecha[0]->isEnabled() && m->txtAño->isEnabled());
    }

    void invalidDateTakesBackTheLastValidOne() {
        m->optReporte_Click(2);
        m->optReporte[2]->setChecked(true);
        const QString antes = m->mskFecha[0]->text();
        Escribe(m->mskFecha[0], "31022024");
        QCOMPARE(m->mskFecha[0]->text(), "31/02/2024");
        QTest::keyClick(m->mskFecha[0], Qt::Key_Tab);
        QCOMPARE(m->mskFecha[0]->text(), antes);
        Escribe(m->mskFecha[0], "29022024");
        QTest::keyClick(m->mskFecha[0], Qt::Key_Tab);
        QCOMPARE(m->mskFecha[0]->text(), "29/02/2024");
        Escribe(m->mskFecha[0], "3");  // incomplete
        QTest::keyClick(m->mskFecha[0], Qt::Key_Tab);
        QCOMPARE(m->mskFecha[0]->text(), "29/02/2024");
    }

    void yearWithoutValueBecomesTheCurrentYear() {
        Escribe(m->txtAño, "1999");
        QTest::keyClick(m->txtAño, Qt::Key_Tab);
        QCOMPARE(m->txtAño->text(), "1999");
        m->txtAño->setFocus();
        m->txtAño->clear();
        QTest::keyClick(m->txtAño, Qt::Key_Tab);
        QCOMPARE(m->txtAño->text(), año);
        Escribe(m->txtAño, "0");
        QTest::keyClick(m->txtAño, Qt::Key_Tab);
        QCOMPARE(m->txtAño->text(), año);
    }

    void yearTakesDigitsOnly() {
        Escribe(m->txtAño, "2a0-b1.9");
        QCOMPARE(m->txtAño->text(), "2019");
    }

    void nameShownWhileTheKeyExists() {
        QLineEdit* caja = m->cmbClasif[2]->lineEdit();
        m->cmbClasif[2]->setFocus();
        QTest::keyClick(caja, 'v');  // turned to upper case
        QCOMPARE(caja->text(), "V");
        QVERIFY(m->Label[2]->isHidden());
        QTest::keyClick(caja, '1');
        QVERIFY(!m->Label[2]->isHidden());
        QCOMPARE(m->Label[2]->text(), "Ana Torres");
        QTest::keyClick(caja, '2');
        QCOMPARE(m->Label[2]->text(), "Beto Ruiz");
        QTest::keyClick(caja, '3');
        QVERIFY(m->Label[2]->isHidden());
        QTest::keyClick(caja, Qt::Key_Backspace);
        QVERIFY(!m->Label[2]->isHidden());
    }

    void nameShownOnChoiceAndForAKeyWithAQuote() {
        m->cmbClasif[2]->setCurrentIndex(m->cmbClasif[2]->findText("V1"));
        emit m->cmbClasif[2]->activated(m->cmbClasif[2]->currentIndex());
        QCOMPARE(m->Label[2]->text(), "Ana Torres");
        QVERIFY(!m->Label[2]->isHidden());
        m->cmbClasif[2]->setEditText("O'B");
        QCOMPARE(m->Label[2]->text(), "Olga O'Brien");
        QVERIFY(!m->Label[2]->isHidden());
    }

    void enterAndArrowsMoveTheFocus() {
        m->txtAño->setFocus();
        QTest::keyClick(m->txtAño, Qt::Key_Return);
        QCOMPARE(Foco(), m->cmbClasif[2]);  // the dates and the line are disabled
        QCOMPARE(m->cmbClasif[2]->currentText(), "");
        m->optReporte_Click(2);
        m->mskFecha[1]->setFocus();
        QTest::keyClick(m->mskFecha[1], Qt::Key_Up);
        QCOMPARE(Foco(), m->mskFecha[0]);
        QTest::keyClick(m->mskFecha[0], Qt::Key_Down);
        QCOMPARE(Foco(), m->mskFecha[1]);
        QTest::keyClick(m->mskFecha[1], Qt::Key_Enter);
        QCOMPARE(Foco(), m->DataCombo1);
    }

    void doubleClickOnTheWindowOpensTheConfiguration() {
        QTest::mouseDClick(m->Label1, Qt::LeftButton);
        QTest::mouseDClick(m->txtAño, Qt::LeftButton);
        QVERIFY(abridor.Abiertos().isEmpty());
        prueba::Cajas cajas;
        QTest::mouseDClick(m, Qt::LeftButton, {}, QPoint(10, 400));
        QCOMPARE(abridor.Abiertos(), QStringList{programa->Ini()});
        QVERIFY(cajas.vistos.isEmpty());
    }

    // A launcher that finds no program is reported with the file's path; an editor that keeps
    // the launcher waiting is no failure, and the window is free again meanwhile.
    void failedLaunchIsReported() {
        prueba::Cajas cajas;
        abridor.Termina(3);
        QTest::mouseDClick(m, Qt::LeftButton, {}, QPoint(10, 400));
        QCOMPARE(cajas.vistos.size(), 1);
        QVERIFY(cajas.vistos[0].texto.contains(programa->Ini()));
        QVERIFY(cajas.vistos[0].texto.contains("No hay ningún programa asociado"));
        QVERIFY(m->isVisible());

        abridor.Termina(0, 60);  // an editor that stays open for a minute
        QElapsedTimer reloj;
        reloj.start();
        QTest::mouseDClick(m, Qt::LeftButton, {}, QPoint(10, 400));
        QVERIFY(reloj.elapsed() < 30000);
        QCOMPARE(cajas.vistos.size(), 1);
        QCOMPARE(abridor.Abiertos().size(), 2);
    }

    // Print by its access key validates the field being left before it checks the range.
    void printSeesTheCorrectedFields() {
        prueba::Cajas cajas;
        m->optReporte[2]->setChecked(true);
        m->optReporte_Click(2);
        Escribe(m->mskFecha[0], "01012020");
        QTest::keyClick(m->mskFecha[0], Qt::Key_Tab);
        Escribe(m->mskFecha[0], "31022021");
        m->cmdImprimir->click();  // as its access key does: the focus stays in the date
        QCOMPARE(m->mskFecha[0]->text(), "01/01/2020");
        QCOMPARE(
            cajas.Textos(),
            QStringList{"Los meses de diferencia entre ambas fechas exceden el máximo permitido"});
        QVERIFY(m->isEnabled());
        QCOMPARE(QApplication::focusWidget(), m->mskFecha[0]);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

PRUEBA_MAIN(tst_frmMenu)
#include "tst_frmMenu.moc"
