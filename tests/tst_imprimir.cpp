// The Print command through the real window and viewer.
#include <sys/stat.h>

#include <QPrintDialog>

#include "Prueba.h"
#include "platform/report/Formato.h"
#include "platform/report/PageView.h"
#include "platform/report/ReportPages.h"
#include "platform/vb/QMessageBoxes.h"
#include "reportdata/Globales.h"
#include "ui/menu/frmMenu.h"
#include "ui/menu/frmProgreso.h"
#include "ui/viewer/Form1.h"
#include "ui/viewer/frmDetalle.h"

namespace {
// What a viewer showed, and the work tables and the window behind it meanwhile.
struct Visto {
    int tablas = 0;
    bool menuActivo = true;
    report::ReportContent contenido;
};

// Someone at the screen: a viewer showing its report is noted, used as the test asks and closed.
// With the program's real boxes, each box on top is read for a second and answered with Enter
// as the window system delivers a key (a window another one blocks never gets it). hace, when
// set, looks first at the window on top and may act instead.
struct Persona : QObject {
    QList<Visto> visores;
    QStringList leidos;
    std::function<void(Form1*)> conElVisor;
    std::function<bool(QWidget*)> hace;
    QPointer<QMessageBox> caja;
    QElapsedTimer desdeLaCaja;
    QTimer ojo;
    std::optional<QMessageBoxes> reales;
    Persona(const QString& base, frmMenu* menu, bool cajasReales) {
        if (cajasReales) SetMessageBoxes(&reales.emplace());
        connect(&ojo, &QTimer::timeout, this, [this, base, menu] { Mira(base, menu); });
        ojo.start(50);
    }
    ~Persona() override {
        if (reales) SetMessageBoxes(nullptr);
    }
    void Mira(const QString& base, frmMenu* menu) {
        QWidget* arriba = QApplication::activeModalWidget();
        if (hace && hace(arriba)) return;
        if (auto* visor = qobject_cast<Form1*>(arriba)) {
            if (!visor->CRXI->Pages()) return;
            ojo.stop();
            visores << Visto{prueba::TablasDeTrabajo(base), menu->isEnabled(),
                             visor->CRXI->Pages()->Content()};
            if (conElVisor) conElVisor(visor);
            visor->close();
            ojo.start();
            return;
        }
        auto* c = reales ? qobject_cast<QMessageBox*>(arriba) : nullptr;
        if (c != caja) {
            caja = c;
            desdeLaCaja.start();
            return;
        }
        if (!c || desdeLaCaja.elapsed() < 1000) return;
        leidos << c->text();
        caja = nullptr;
        QTest::keyClick(c->windowHandle(), Qt::Key_Return);
    }
};

// Counts the progress windows shown.
struct Progresos : QObject {
    int mostrados = 0;
    Progresos() { qApp->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show && qobject_cast<frmProgreso*>(o)) ++mostrados;
        return false;
    }
};

// The progress window's Cancelar, clicked as the window system delivers a click; false while
// it cannot be clicked.
bool PulsaCancelar(frmProgreso* progreso) {
    for (QPushButton* b : progreso->findChildren<QPushButton*>())
        if (b->text() == "Cancelar" && b->isEnabled()) {
            QTest::mouseClick(progreso->windowHandle(), Qt::LeftButton, {},
                              b->mapTo(progreso, b->rect().center()));
            return true;
        }
    return false;
}

// Answers the file dialog about to open with a file, as its Save button does, and Yes when it
// asks whether to replace it.
void EligeArchivo(QObject* contexto, const QString& archivo, QStringList* inicios = nullptr,
                  QStringList* ofrecidos = nullptr) {
    QTimer::singleShot(0, contexto, [=] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        if (inicios) *inicios << d->directory().absolutePath();
        if (ofrecidos) *ofrecidos << QFileInfo(d->selectedFiles().value(0)).fileName();
        d->selectFile(archivo);
        QTimer::singleShot(0, contexto, [nombre = QFileInfo(archivo).fileName()] {
            auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (b && b->text().contains(nombre)) b->button(QMessageBox::Yes)->click();
        });
        static_cast<QDialog*>(d)->accept();
    });
}
}  // namespace

class tst_imprimir : public QObject {
    Q_OBJECT
    QString base;
    std::unique_ptr<prueba::Programa> programa;
    std::unique_ptr<prueba::Vigia> vigia;
    frmMenu* m = nullptr;
    QTemporaryDir casa;

    // Prints a report, doing with its viewer what the test asks; what the viewer showed.
    Visto Imprime(int reporte, const std::function<void(Form1*)>& conElVisor = {}) {
        m->optReporte[reporte]->setChecked(true);
        m->optReporte_Click(reporte);
        Persona persona(base, m, false);
        persona.conElVisor = conElVisor;
        m->cmdImprimir->click();
        return persona.visores.value(0);
    }
    void PorVendedor() {
        m->mskFecha[0]->setText("01/01/2010");
        m->mskFecha[1]->setText("31/12/2010");
        m->optReporte[2]->setChecked(true);
        m->optReporte_Click(2);
    }

  private slots:
    void initTestCase() {
        // A home of the tests' own: the user's documents and the viewer's remembered folder.
        qputenv("HOME", casa.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (casa.path() + "/.config").toLocal8Bit());
        base = prueba::BaseConFixture();
    }
    void init() {
        vigia = std::make_unique<prueba::Vigia>();
        programa = std::make_unique<prueba::Programa>();
        programa->Configura(base);
        QVERIFY(m = programa->AbreVentana());
        m->txtAño->setText("2010");
    }
    void cleanup() {
        programa.reset();
        prueba::Repone(base);
        QVERIFY2(vigia->Cerradas().isEmpty(), qPrintable(vigia->Cerradas().join(", ")));
    }

    // With the settings a first start writes and a person answering the real boxes (never
    // blocked by the progress window under them, in their order), each report reaches its viewer
    // over its own work table while the window waits disabled; then the table is dropped, the
    // window usable, the pointer back and Print ready again.
    void eachReportEndToEnd() {
        Persona persona(base, m, true);
        PorVendedor();
        for (int reporte : {0, 1, 2}) {
            m->optReporte[reporte]->setChecked(true);
            m->optReporte_Click(reporte);
            m->cmdImprimir->click();
            QCOMPARE(persona.visores.size(), reporte + 1);
            const Visto& v = persona.visores.last();
            QVERIFY(v.tablas == 1 && !v.menuActivo && !v.contenido.NadaQueMostrar());
            QCOMPARE(v.contenido.base, base);
            QCOMPARE(prueba::TablasDeTrabajo(base), 0);
            QVERIFY(m->isEnabled());
            QCOMPARE(m->focusWidget(), m->cmdImprimir);
            QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        }
        QCOMPARE(persona.leidos.size(), 10);  // every box, each answered once
        QCOMPARE(persona.leidos.last(), "Fin de la función");
    }

    // Cancelar stops the work at once however the report shows its messages: in real boxes
    // (clicked while the statement after one runs: no further box), in the progress window (a
    // statement on one line cut in the middle, both its ends kept, whole in its tooltip), or none,
    // while statements of half a minute run on the report's session and on the sessions it
    // opened to ask both document tables at once. Every statement is stopped on the server, the
    // work table dropped and the window given back long before a statement's four seconds.
    void cancelStopsTheWork_data() {
        QTest::addColumn<int>("reporte");
        QTest::addColumn<QStringList>("lentas");  // the salesperson report counts documents first
        QTest::addColumn<int>("mensajes");        // 0: none, 1: in boxes, 2: in the progress window
        QTest::newRow("between two boxes") << 2 << QStringList{"facturasdetalle"} << 1;
        QTest::newRow("in the progress window") << 2 << QStringList{"facturasdetalle"} << 2;
        QTest::newRow("on several sessions") << 0 << QStringList{"facturas", "remisiones"} << 0;
    }
    void cancelStopsTheWork() {
        QFETCH(int, reporte);
        QFETCH(QStringList, lentas);
        QFETCH(int, mensajes);
        prueba::Lentas(base, lentas);
        std::optional<prueba::Cajas> ninguna;
        if (mensajes == 0) ninguna.emplace();
        m->mensajesEnCajas = mensajes != 2;
        PorVendedor();
        m->optReporte[reporte]->setChecked(true);
        m->optReporte_Click(reporte);
        Progresos progresos;
        Persona persona(base, m, mensajes == 1);
        QElapsedTimer total, desdeCancelar;
        qsizetype alCancelar = 0;
        QString visto, completo;
        persona.hace = [&](QWidget* arriba) {
            auto* progreso = qobject_cast<frmProgreso*>(arriba);
            if (!progreso || desdeCancelar.isValid()) return false;
            for (QLabel* l : progreso->findChildren<QLabel*>())
                if (l->isVisible() && l->toolTip().startsWith("Consulta: ")) {
                    visto = l->text();
                    completo = l->toolTip();
                }
            if (mensajes == 0   ? total.elapsed() < 1500
                : mensajes == 1 ? persona.leidos.size() < 3
                                : completo.isEmpty())
                return false;
            if (!PulsaCancelar(progreso)) return false;
            desdeCancelar.start();
            alCancelar = persona.leidos.size();
            return true;
        };
        total.start();
        m->cmdImprimir->click();
        QVERIFY2(desdeCancelar.isValid(), "no progress window with Cancelar was shown");
        qInfo("From Cancelar to a usable window: %lld ms", desdeCancelar.elapsed());
        QVERIFY2(desdeCancelar.elapsed() < 10000,
                 qPrintable(QString::number(desdeCancelar.elapsed())));
        QVERIFY(persona.visores.isEmpty() && m->isEnabled());
        QCOMPARE(persona.leidos.size(), alCancelar);
        QCOMPARE(prueba::TablasDeTrabajo(base), 0);
        QCOMPARE(prueba::Valor("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE "
                               "COMMAND='Query' AND ID<>CONNECTION_ID() AND DB='" +
                               base + "'")
                     .toInt(),
                 0);
        if (ninguna) QVERIFY(ninguna->vistos.isEmpty() && progresos.mostrados == 1);
        if (mensajes == 1) QVERIFY(persona.leidos.last().startsWith("Consulta: "));
        if (mensajes != 2) return;
        QVERIFY2(completo.size() > visto.size(), qPrintable(visto));
        QVERIFY(visto.startsWith("Consulta: ") && visto.contains("…") && !visto.contains('\n'));
        QVERIFY(visto.endsWith(completo.right(4)));
    }

    // The main window closed while a box waits for an answer (the session ends): the box goes,
    // the work stops, its table is dropped and the window closes.
    void mainWindowClosedWhileABoxIsOpen() {
        Persona persona(base, m, true);
        QPointer<frmMenu> menu = m;
        persona.hace = [&](QWidget* arriba) {
            if (!qobject_cast<QMessageBox*>(arriba) || !menu) return false;
            QTimer::singleShot(1000, menu, [&] { menu->close(); });
            persona.hace = {};
            persona.ojo.stop();
            return true;
        };
        PorVendedor();
        QTimer::singleShot(0, m->cmdImprimir, &QPushButton::click);
        QTRY_VERIFY_WITH_TIMEOUT(menu.isNull(), 5000);
        QVERIFY(persona.visores.isEmpty());
        QCOMPARE(prueba::TablasDeTrabajo(base), 0);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        m = nullptr;
    }

    // Saving offers the report and its years as the name, in the user's documents, then wherever
    // the user last saved, in this run and the next; a remembered folder that is gone sends it
    // back to the documents. A name without extension gets the format's; printing to a file
    // offers the same name in the same folder. A FIFO chosen, and confirmed for replacing, is
    // refused with a message and stays a FIFO.
    void saveDialogRemembersItsFolder() {
        QDir(casa.path()).mkpath("Documents");
        QDir(casa.path()).mkpath("informes");
        const QString tubo = casa.filePath("informes/tubo.csv");
        QVERIFY(mkfifo(QFile::encodeName(tubo).constData(), 0600) == 0);
        prueba::Cajas cajas;
        QStringList inicios, ofrecidos;
        const auto guarda = [&](const QString& archivo) {
            return [&, archivo](Form1* visor) {
                EligeArchivo(this, casa.filePath(archivo), &inicios, &ofrecidos);
                visor->CRXI->ExportTo("csv");
            };
        };
        Imprime(0, guarda("informes/uno.csv"));
        Imprime(0, guarda("informes/dos"));
        QVERIFY(QFile::exists(casa.filePath("informes/dos.csv")));
        Imprime(0, guarda("informes/tubo.csv"));
        QCOMPARE(cajas.vistos.size(), 1);
        QVERIFY2(cajas.vistos[0].texto.contains(tubo) && cajas.vistos[0].texto.contains("FIFO"),
                 qPrintable(cajas.vistos[0].texto));
        struct stat estado {};
        QVERIFY(lstat(QFile::encodeName(tubo).constData(), &estado) == 0 &&
                S_ISFIFO(estado.st_mode));
        QString aArchivo;
        Imprime(0, [&](Form1* visor) {
            QTimer::singleShot(0, this, [&] {
                if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
                    aArchivo = d->findChild<QLineEdit*>("filename")->text();
                    d->reject();
                }
            });
            visor->CRXI->PrintWithDialog();
        });
        QCOMPARE(aArchivo, casa.filePath("informes/Por mes 2008-2010.pdf"));
        QDir(casa.filePath("informes")).removeRecursively();
        Imprime(0, guarda("Documents/tres.csv"));
        QCOMPARE(inicios, QStringList({casa.filePath("Documents"), casa.filePath("informes"),
                                       casa.filePath("informes"), casa.filePath("Documents")}));
        QVERIFY(QFile::exists(casa.filePath("Documents/tres.csv")));
        QCOMPARE(ofrecidos.value(0), "Por mes 2008-2010.csv");
        QVERIFY(QFile::exists(casa.filePath(".config/Miravel/Visor.ini")));
    }

    // A bar double-clicked opens the documents of its figure, adding up to it, sorted by amount;
    // and Enter on a table cell the arrows marked opens that cell's.
    void aFigureOpensItsDocuments() {
        prueba::Cajas cajas;
        QStringList totales;
        double primero = 0, segundo = 0;
        Imprime(0, [&](Form1* visor) {
            report::PageView* vista = visor->CRXI->View();
            const report::ReportPages& paginas = *visor->CRXI->Pages();
            const QRectF area = paginas.ChartArea(0);
            std::optional<report::Figura> barra;
            QPointF donde;
            // A bar's inside, away from its edges.
            for (double y = area.bottom(); !barra && y > area.top(); y -= 3)
                for (double x = area.left(); !barra && x < area.right(); x += 3) {
                    donde = QPointF(x + 3, y - 6);
                    barra = paginas.FiguraEn(0, QPointF(x, y));
                    const auto dentro = paginas.FiguraEn(0, donde);
                    if (!barra || barra->fila < 0 || !dentro || dentro->fila != barra->fila ||
                        dentro->columna != barra->columna)
                        barra.reset();
                }
            QVERIFY(barra);
            QPointer<frmDetalle> ventana;
            const auto abre = [&](const report::Figura& f) {
                QTRY_VERIFY2((ventana = visor->findChild<frmDetalle*>()),
                             qPrintable(cajas.vistos.value(0).texto));
                totales << ventana->findChildren<QLabel*>().last()->text()
                        << report::Moneda(paginas.Content().celdas[f.fila][f.columna]);
            };
            QTest::mouseDClick(
                vista, Qt::LeftButton, {},
                (donde * vista->width() / report::ReportPages::PageSize().width()).toPoint());
            abre(*barra);
            QVERIFY(ventana);
            QHeaderView* cabecera = ventana->Tabla()->horizontalHeader();
            QTest::mouseClick(cabecera->viewport(), Qt::LeftButton, {},
                              QPoint(cabecera->sectionViewportPosition(7) + 5, 5));
            primero = ventana->Tabla()->model()->index(0, 7).data(Qt::UserRole).toDouble();
            segundo = ventana->Tabla()->model()->index(1, 7).data(Qt::UserRole).toDouble();
            ventana->close();
            QTRY_VERIFY(!ventana);
            vista->setFocus();
            for (Qt::Key tecla : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right})
                QTest::keyClick(vista, tecla);
            const report::Figura celda = paginas.FiguraDe(0, *vista->Marcada());
            QTest::keyClick(vista, Qt::Key_Return);
            abre(celda);
        });
        QVERIFY2(totales.size() == 4 && totales[0].endsWith("Total: " + totales[1]) &&
                     totales[2].endsWith("Total: " + totales[3]),
                 qPrintable(totales.join(" | ")));
        QVERIFY(primero <= segundo);
    }

    // Two prints one after the other: the second gets the first's name again and shows only
    // its own rows, for its own selection; a key the catalogue lacks is said so. Reports that
    // take less than half a second show no progress window, even while their viewers stay open.
    void twoPrintsShowOnlyTheirOwnFigures() {
        Progresos progresos;
        m->cmbClasif[2]->setEditText("7");
        const Visto siete = Imprime(0, [](Form1*) { QTest::qWait(900); });
        m->cmbClasif[2]->setEditText("8");
        const Visto ocho = Imprime(0);
        QVERIFY(ocho.contenido.seleccion.contains("Vendedor: 8 (Ocho)"));
        QVERIFY(ocho.contenido.celdas != siete.contenido.celdas);
        QCOMPARE(ocho.tablas, 1);
        m->cmbClasif[2]->setEditText("V99");
        QVERIFY(
            Imprime(0).contenido.seleccion.endsWith("V99 (no está en el catálogo de vendedores)"));
        QCOMPARE(progresos.mostrados, 0);
    }

    // A report that fails (a sales table or the report file missing) says why, drops its table
    // and gives the window back; mended, it prints again.
    void failureDropsItsTableAndKeepsTheProgram_data() {
        QTest::addColumn<QString>("falta");
        QTest::addColumn<QString>("dice");
        QTest::newRow("sales table") << "remisiones"
                                     << "Error '1146' en tiempo de ejecución";
        QTest::newRow("report file") << "ReporteGrafico.rpt"
                                     << "ReporteGrafico.rpt";
    }
    void failureDropsItsTableAndKeepsTheProgram() {
        QFETCH(QString, falta);
        QFETCH(QString, dice);
        const QString rpt = programa->Carpeta() + "/" + falta, origen = QFile::symLinkTarget(rpt);
        if (origen.isEmpty())
            prueba::Ejecuta("RENAME TABLE `" + base + "`." + falta + " TO `" + base + "`." + falta +
                            "_fuera");
        else
            QFile::remove(rpt);
        prueba::Cajas cajas;
        m->cmdImprimir->click();
        QTRY_COMPARE(cajas.vistos.size(), 1);
        QVERIFY2(cajas.vistos[0].texto.contains(dice), qPrintable(cajas.vistos[0].texto));
        QCOMPARE(prueba::TablasDeTrabajo(base), 0);
        QVERIFY(m->isEnabled());
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        prueba::Repone(base);
        if (!origen.isEmpty()) QFile::link(origen, rpt);
        QVERIFY(!Imprime(0).contenido.NadaQueMostrar());
    }
};

PRUEBA_MAIN(tst_imprimir)
#include "tst_imprimir.moc"
