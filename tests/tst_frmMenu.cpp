// The selection window through its real widgets: start state, keys, checks and the lookup.

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
        if (auto* l = qobject_cast<QLineEdit*>(campo))
            texto.isEmpty() ? l->clear() : l->selectAll();
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

    // At start: the monthly report of this year, both kinds, the dates of this month; the lists
    // in key and name order, the line list first offering all.
    void startState() {
        QVERIFY(m->optReporte[0]->isChecked());
        QCOMPARE(m->txtAño->text(), año);
        QCOMPARE(m->cmbClasif[1]->currentText(), "Ambas");
        QCOMPARE(m->mskFecha[0]->text(), "01/" + QDate::currentDate().toString("MM/yyyy"));
        QCOMPARE(m->mskFecha[1]->text(), QDate::currentDate().toString("dd/MM/yyyy"));
        QStringList claves, lineas;
        for (int i = 0; i < m->cmbClasif[2]->count(); ++i) claves << m->cmbClasif[2]->itemText(i);
        for (int i = 0; i < m->DataCombo1->count(); ++i)
            lineas << m->DataCombo1->itemText(i) + "=" + m->DataCombo1->itemData(i).toString();
        QCOMPARE(claves, QStringList({"O'B", "V1", "V12"}));
        QCOMPARE(lineas,
                 QStringList({"(todas las líneas)=", "Abrasivos=1", "Ñandú=2", "Pinturas=3"}));
    }

    // What a field holds once typed into and left: a date only when it is one, else the last
    // valid one; a year of digits, none or 0 being this year; a salesperson's key in capitals,
    // his name beside it while the key exists, or chosen from the list.
    void typingIntoAField_data() {
        QTest::addColumn<int>("campo");  // the first date, the year, the salesperson, his list
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<QString>("queda");
        QTest::addColumn<QString>("nombre");  // beside the salesperson; empty: none shown
        auto fila = [](const char* caso, int campo, const QString& teclas, const QString& queda,
                       const QString& nombre = {}) {
            QTest::newRow(caso) << campo << teclas << queda << nombre;
        };
        const QString mes = "01/" + QDate::currentDate().toString("MM/yyyy");
        fila("31 February", 0, "31022024", mes);
        fila("29 February", 0, "29022024", "29/02/2024");
        fila("a date cut short", 0, "3", mes);
        fila("a year", 1, "1999", "1999");
        fila("no year", 1, "", año);
        fila("year 0", 1, "0", año);
        fila("digits only", 1, "2a0-b1.9", "2019");
        fila("lower case", 2, "v", "V");
        fila("a key", 2, "v1", "V1", "Ana Torres");
        fila("a longer key", 2, "V12", "V12", "Beto Ruiz");
        fila("no such key", 2, "V123", "V123");
        fila("a key with a quote", 2, "o'b", "O'B", "Olga O'Brien");
        fila("chosen from the list", 3, "V1", "V1", "Ana Torres");
    }
    void typingIntoAField() {
        QFETCH(int, campo);
        QFETCH(QString, teclas);
        QFETCH(QString, queda);
        QFETCH(QString, nombre);
        QComboBox* vendedor = m->cmbClasif[2];
        if (campo == 0) {
            m->optReporte[2]->setChecked(true);
            m->optReporte_Click(2);
        }
        QLineEdit* caja = campo == 0   ? m->mskFecha[0]
                          : campo == 1 ? m->txtAño
                                       : vendedor->lineEdit();
        if (campo == 3) {
            vendedor->setCurrentIndex(vendedor->findText(teclas));
            emit vendedor->activated(vendedor->currentIndex());
        } else {
            Escribe(caja, teclas);
        }
        if (campo < 2) QTest::keyClick(caja, Qt::Key_Tab);
        QCOMPARE(caja->text(), queda);
        QCOMPARE(m->Label[2]->isHidden() ? QString() : m->Label[2]->text(), nombre);
    }

    // Enter goes to the next field that takes input; up and down between the dates.
    void enterAndArrowsMoveTheFocus() {
        m->txtAño->setFocus();
        QTest::keyClick(m->txtAño, Qt::Key_Return);
        QCOMPARE(Foco(), m->cmbClasif[2]);  // the dates and the line are disabled
        m->optReporte_Click(2);
        m->mskFecha[1]->setFocus();
        QTest::keyClick(m->mskFecha[1], Qt::Key_Up);
        QCOMPARE(Foco(), m->mskFecha[0]);
        QTest::keyClick(m->mskFecha[0], Qt::Key_Down);
        QCOMPARE(Foco(), m->mskFecha[1]);
        QTest::keyClick(m->mskFecha[1], Qt::Key_Enter);
        QCOMPARE(Foco(), m->DataCombo1);
    }

    // A double click on the window, not on a field or a caption, opens Miravel.ini; a launcher
    // that finds no program is reported with the file's path; an editor that keeps the launcher
    // waiting is no failure, and the window is free again meanwhile.
    void doubleClickOpensTheConfiguration() {
        prueba::Cajas cajas;
        QTest::mouseDClick(m->Label1, Qt::LeftButton);
        QTest::mouseDClick(m->txtAño, Qt::LeftButton);
        QTest::mouseDClick(m, Qt::LeftButton, {}, QPoint(10, 400));
        QCOMPARE(abridor.Abiertos(), QStringList{programa->Ini()});
        abridor.Termina(3);
        QTest::mouseDClick(m, Qt::LeftButton, {}, QPoint(10, 400));
        QCOMPARE(cajas.vistos.size(), 1);
        QVERIFY(cajas.vistos[0].texto.contains(programa->Ini()) &&
                cajas.vistos[0].texto.contains("No hay ningún programa asociado"));
        abridor.Termina(0, 60);  // an editor that stays open for a minute
        QElapsedTimer reloj;
        reloj.start();
        QTest::mouseDClick(m, Qt::LeftButton, {}, QPoint(10, 400));
        QVERIFY(reloj.elapsed() < 30000);
        QCOMPARE(cajas.vistos.size(), 1);
        QCOMPARE(abridor.Abiertos().size(), 3);
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
        QCOMPARE(cajas.vistos.size(), 1);
        QCOMPARE(cajas.vistos[0].texto,
                 "Los meses de diferencia entre ambas fechas exceden el máximo permitido");
        QVERIFY(m->isEnabled());
        QCOMPARE(QApplication::focusWidget(), m->mskFecha[0]);
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    }
};

PRUEBA_MAIN(tst_frmMenu)
#include "tst_frmMenu.moc"
