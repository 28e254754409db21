#include "Entorno.h"
#include "Mensajes.h"
#include "OtroPuesto.h"
#include "RegistroPruebas.h"
#include "VistaPrevia.h"
#include "dteQuimbel.h"
#include "frmMantCategorias.h"
#include "frmMantProductos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>

class PruebaMantProductos : public QObject {
    Q_OBJECT

    frmMantProductos* f = nullptr;

    template <typename T> T* C(const char* nombre) {
        T* w = f->findChild<T*>(QLatin1String(nombre));
        if (!w)
            qFatal("No existe el control %s", nombre);
        return w;
    }
    QLineEdit* Txt(int i) { return C<QLineEdit>(QStringLiteral("txtFields_%1").arg(i).toLatin1()); }
    void Click(int boton) {
        QPushButton* b = C<QPushButton>(QStringLiteral("cmdMenu_%1").arg(boton).toLatin1());
        QVERIFY2(b->isEnabled(), qPrintable(b->text()));
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void Escribir(QWidget* w, const QString& texto) {
        if (auto* combo = qobject_cast<QComboBox*>(w))
            w = combo->lineEdit();
        static_cast<QLineEdit*>(w)->clear();
        QTest::keyClicks(w, texto);
    }
    void ElegirFila(int fila) {
        auto* lista = C<QTableView>("dtgLista");
        lista->scrollTo(lista->model()->index(fila, 0));
        const QRect r = lista->visualRect(lista->model()->index(fila, 0));
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, r.center());
    }
    int FilaActual() { return C<QTableView>("dtgLista")->currentIndex().row(); }
    QStringList Items(const char* combo) {
        QStringList r;
        auto* c = C<QComboBox>(combo);
        for (int i = 0; i < c->count(); ++i)
            r << c->itemText(i);
        return r;
    }
    void Elegir(const char* combo, const QString& texto) {
        auto* c = C<QComboBox>(combo);
        const int i = c->findText(texto);
        QVERIFY2(i >= 0, qPrintable(texto));
        c->setCurrentIndex(i);
    }
    static int Contar(Entorno& e) {
        return e.Valor(QStringLiteral("SELECT count(*) FROM productos")).toInt();
    }
    static void Precio(Entorno& e, int id, const QVariant& precio, const QVariant& costo) {
        e.Sql(QStringLiteral("UPDATE productos SET ProPrecio=?, ProCosto=? WHERE ProId=?"),
              {precio, costo, id});
    }

private slots:
    void cleanup() {
        if (f)
            f->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!frmMantProductos::Abierta());
        f = nullptr;
    }

    void nuevoProductoConUnidadNuevaSeGuardaYSeOfrece() {
        Entorno e;
        const int cat = e.Insertar("categoria_insertar", {QStringLiteral("Ferretería")});
        e.Producto(QStringLiteral("Arandela"), cat);
        f = frmMantProductos::Instancia();
        QCOMPARE(f->windowTitle(), QStringLiteral("Mantenimiento de Productos"));
        QVERIFY(Txt(1)->isReadOnly());
        QVERIFY(!C<QComboBox>("dtcUnidades")->isEnabled());

        Click(0);
        QVERIFY(f->EnEntrada());
        QVERIFY(!Txt(0)->isReadOnly());
        QVERIFY(C<QCheckBox>("chkSinVencimiento")->isChecked());
        QVERIFY(!C<QCheckBox>("chkDesactivado")->isChecked());
        QVERIFY(Txt(1)->text().isEmpty());
        for (int i : {0, 1, 3, 4, 5})
            QVERIFY(!C<QPushButton>(QStringLiteral("cmdMenu_%1").arg(i).toLatin1())->isEnabled());

        Escribir(Txt(1), QStringLiteral("Tuerca 3/8'' zincada"));
        Elegir("dtcCategorias", QStringLiteral("Ferretería"));
        // A unit typed is stored as typed, not as the suggestion it begins.
        e.Sql(QStringLiteral("UPDATE productos SET ProUnidadMedida='Bolsa x 50'"));
        f->ActualizarCombos();
        QVERIFY(QTest::qWaitForWindowActive(f));
        // Typed through the window, as a person types, so that the list's own completion
        // would see the keys if it came back.
        C<QComboBox>("dtcUnidades")->lineEdit()->clear();
        C<QComboBox>("dtcUnidades")->setFocus();
        for (QChar c : QStringLiteral("Bolsa"))
            QTest::sendKeyEvent(QTest::Click, f->windowHandle(), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        QVERIFY(QApplication::activePopupWidget());
        QTest::keyClick(f->windowHandle(), Qt::Key_Tab);
        QCOMPARE(C<QComboBox>("dtcUnidades")->currentText(), QStringLiteral("Bolsa"));
        Elegir("dtcMonedas", QStringLiteral("Pesos"));
        Escribir(Txt(2), QStringLiteral("150,5"));
        Escribir(Txt(3), QStringLiteral("120"));
        Click(2);
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QVERIFY(!f->EnEntrada());
        QVERIFY(Txt(1)->isReadOnly());

        Recordset rs =
            e.Sql(QStringLiteral("SELECT * FROM productos WHERE ProDescripcion LIKE 'Tuerca%'"));
        QCOMPARE(rs.RecordCount(), 1);
        QCOMPARE(rs.Texto(QStringLiteral("ProUnidadMedida")), QStringLiteral("Bolsa"));
        QCOMPARE(rs.Texto(QStringLiteral("ProMoneda")), QStringLiteral("Pesos"));
        QCOMPARE(rs.Campo(QStringLiteral("CatId")).toInt(), cat);
        QCOMPARE(rs.Campo(QStringLiteral("ProPrecio")).toDouble(), 150.5);
        QVERIFY(rs.Campo(QStringLiteral("ProMinimo")).isNull());
        QCOMPARE(rs.Campo(QStringLiteral("ProSinVencimiento")).toBool(), true);
        QCOMPARE(rs.Campo(QStringLiteral("ProDesactivado")).toBool(), false);
        QCOMPARE(Items("dtcUnidades"),
                 (QStringList{QStringLiteral("Bolsa"), QStringLiteral("Bolsa x 50")}));
        QCOMPARE(C<QTableView>("dtgLista")->model()->rowCount(), 2);
    }

    void cancelarBuscarEImprimir() {
        Entorno e;
        e.Producto(QStringLiteral("Tornillo"));
        e.Producto(QStringLiteral("Arandela"));
        e.Producto(QStringLiteral("Tuerca"));
        f = frmMantProductos::Instancia();

        ElegirFila(2);
        Click(0);
        Escribir(Txt(1), QStringLiteral("Clavo"));
        Click(6);
        QCOMPARE(Contar(e), 3);
        QVERIFY(!f->EnEntrada());
        QCOMPARE(FilaActual(), 0);
        QCOMPARE(Txt(1)->text(), QStringLiteral("Arandela"));
        QCOMPARE(C<QTableView>("dtgLista")->model()->rowCount(), 3);

        // A search survives "Cancelar"; an apostrophe in it is only text.
        Mensajes::ResponderTexto(QStringLiteral(" T "));
        Click(4);
        QCOMPARE(C<QTableView>("dtgLista")->model()->rowCount(), 2);
        Click(1);
        Click(6);
        QCOMPARE(C<QTableView>("dtgLista")->model()->rowCount(), 2);
        Mensajes::ResponderTexto(QStringLiteral("O'Brien"));
        Click(4);
        QCOMPARE(C<QTableView>("dtgLista")->model()->rowCount(), 0);
        QVERIFY(Txt(1)->text().isEmpty());
        QVERIFY(Mensajes::Mostrados().size() == 2); // the two input boxes only

        // The report lists every product whatever the list shows.
        LimpiarInformesMostrados();
        Click(3);
        QCOMPARE(InformesMostrados().size(), 1);
        QCOMPARE(InformesMostrados()[0].registros, 3);
        QVERIFY(InformesMostrados()[0].modal);

        QPointer<frmMantProductos> cerrada = f;
        f->close();
        QCOMPARE(dteQuimbel::Instancia().ComandoSql(QStringLiteral("CProductos")),
                 QStringLiteral("SELECT * FROM PRODUCTOS ORDER BY PRODESCRIPCION ASC"));

        // Asked for again before the closed window is gone: a new window that stays, with
        // every product.
        f = frmMantProductos::Instancia();
        QVERIFY(f != cerrada.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(cerrada.isNull());
        QVERIFY(frmMantProductos::Abierta());
        QCOMPARE(C<QTableView>("dtgLista")->model()->rowCount(), 3);
    }

    void margenesYEdicion() {
        Entorno e;
        e.Insertar("categoria_insertar", {QStringLiteral("General")});
        Precio(e, e.Producto(QStringLiteral("Arandela")), 150, 120);
        Precio(e, e.Producto(QStringLiteral("Bulón")), 10, 3);
        Precio(e, e.Producto(QStringLiteral("Clavo")), 10, 0);
        const int d = e.Producto(QStringLiteral("Destornillador"));
        Precio(e, d, QVariant(), 5);
        f = frmMantProductos::Instancia();
        auto* porcentual = C<QLabel>("lblPorcentual");
        auto* absoluto = C<QLabel>("lblAbsoluto");
        QCOMPARE(porcentual->text(), QStringLiteral("25"));
        QCOMPARE(absoluto->text(), QStringLiteral("30"));
        ElegirFila(1);
        QCOMPARE(porcentual->text(), QStringLiteral("233,33"));
        QCOMPARE(absoluto->text(), QStringLiteral("7"));
        QCOMPARE(Txt(2)->text(), QStringLiteral("10"));
        ElegirFila(2);
        QCOMPARE(porcentual->text(), QStringLiteral("0"));
        ElegirFila(3);
        QCOMPARE(absoluto->text(), QStringLiteral("0"));

        // Margins come from the stored record, and follow it once written.
        Click(1);
        Escribir(Txt(2), QStringLiteral("7,5"));
        QCOMPARE(absoluto->text(), QStringLiteral("0"));
        Click(2);
        QVERIFY(Mensajes::Mostrados().isEmpty());
        QCOMPARE(e.Valor(QStringLiteral("SELECT ProPrecio FROM productos WHERE ProId=?"), {d})
                     .toDouble(),
                 7.5);
        QCOMPARE(Contar(e), 4);
        QCOMPARE(e.Valor(QStringLiteral("SELECT sum(ProPrecio) FROM productos")).toDouble(), 177.5);
        ElegirFila(3);
        QCOMPARE(porcentual->text(), QStringLiteral("50"));
        QCOMPARE(absoluto->text(), QStringLiteral("2,5"));

        // Another workstation changes the cost of the product shown: saving the price typed
        // here must not put back the cost this window read.
        OtroPuesto otro(e.RutaBase());
        const QByteArray id = QByteArray::number(d);
        QVERIFY(otro.Ejecutar("UPDATE productos SET ProCosto = 6 WHERE ProId = " + id));
        QVERIFY(otro.AnotarCambio("productos", id, "ProCosto", "5", "6"));
        Click(1);
        Escribir(Txt(2), QStringLiteral("8"));
        Mensajes::Responder(Mensajes::Respuesta::No);
        Click(2);
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("beto (02/03/2026 10:30) modificó este producto desde que se "
                                "mostró; no se guardó nada.\r\n¿Desea volver a cargarlo? Se "
                                "perderán los cambios que escribió."));
        const QString sql =
            QStringLiteral("SELECT ProPrecio, ProCosto FROM productos WHERE ProId=?");
        QCOMPARE(e.Valor(sql, {d}).toDouble(), 7.5);
        QCOMPARE(Txt(2)->text(), QStringLiteral("8"));
        QVERIFY(f->EnEntrada());
        Mensajes::Responder(Mensajes::Respuesta::Si);
        Click(2);
        QVERIFY(!f->EnEntrada());
        ElegirFila(3);
        QCOMPARE(Txt(3)->text(), QStringLiteral("6"));
        Click(1);
        Escribir(Txt(2), QStringLiteral("8"));
        Click(2);
        QCOMPARE(Mensajes::Mostrados().size(), 2);
        QCOMPARE(e.Valor(sql, {d}).toDouble(), 8.0);
        QCOMPARE(
            e.Valor(QStringLiteral("SELECT ProCosto FROM productos WHERE ProId=?"), {d}).toDouble(),
            6.0);
    }

    void busquedaAlTeclearEnLaLista() {
        Entorno e;
        for (const char* d : {"Arandela", "Tornillo", "tope", "Tuerca", "Zapato"})
            e.Producto(QString::fromUtf8(d));
        f = frmMantProductos::Instancia();
        auto* lista = C<QTableView>("dtgLista");
        auto* titulo = C<QLabel>("lblLista");
        QCOMPARE(
            titulo->text(),
            QStringLiteral("PARA IR A UN PRODUCTO DIGITE LAS PRIMERAS LETRAS DE LA DESCRIPCION"));
        lista->setFocus();
        QTest::keyClicks(lista, QStringLiteral("TO"));
        QCOMPARE(FilaActual(), 1);
        QCOMPARE(Txt(1)->text(), QStringLiteral("tope"));
        QCOMPARE(titulo->text(), QStringLiteral("Búsqueda: TO (BackSapce comienza de nuevo)"));
        QTest::keyClicks(lista, QStringLiteral("r"));
        QCOMPARE(Txt(1)->text(), QStringLiteral("Tornillo"));

        QTest::keyClick(lista, Qt::Key_Backspace);
        QCOMPARE(FilaActual(), 0);
        QCOMPARE(
            titulo->text(),
            QStringLiteral("PARA IR A UN PRODUCTO DIGITE LAS PRIMERAS LETRAS DE LA DESCRIPCION"));

        // An apostrophe is just a character that sorts before the letters.
        QTest::keyClicks(lista, QStringLiteral("T'"));
        QCOMPARE(FilaActual(), 1);
        QCOMPARE(titulo->text(), QStringLiteral("Búsqueda: T' (BackSapce comienza de nuevo)"));
        QTest::keyClick(lista, Qt::Key_Backspace);

        // Nothing at or after the text: no current row, keys ignored until a row is chosen.
        QTest::keyClicks(lista, QStringLiteral("Zz"));
        QCOMPARE(FilaActual(), -1);
        QTest::keyClicks(lista, QStringLiteral("a"));
        QTest::keyClick(lista, Qt::Key_Backspace);
        QCOMPARE(titulo->text(), QStringLiteral("Búsqueda: Zz (BackSapce comienza de nuevo)"));
        ElegirFila(2);
        QTest::keyClick(lista, Qt::Key_Backspace);
        QCOMPARE(FilaActual(), 0);
        QVERIFY(Mensajes::Mostrados().isEmpty());
    }

    // Typing a product's whole name reaches it, however the engine sorts the list: accents,
    // letter case, ñ, digits, spaces, apostrophes and other signs.
    void busquedaAlTeclearLlegaACadaProducto() {
        Entorno e;
        const QStringList nombres = {
            QStringLiteral("Arandela plana"),
            QStringLiteral("árbol de levas"),
            QStringLiteral("Abrazadera 1/2\""),
            QStringLiteral("Ángulo 40x40"),
            QStringLiteral("Tornillo"),
            QStringLiteral("tope"),
            QStringLiteral("Tuerca"),
            QStringLiteral("Tuerca 3/8'' zincada"),
            QStringLiteral("Tuerca-M8"),
            QStringLiteral("Tuercas surtidas"),
            QStringLiteral("Tuerca_mariposa"),
            QStringLiteral("Tuerca.M6"),
            QStringLiteral("Ñandú pluma"),
            QStringLiteral("Nylon"),
            QStringLiteral("niple 1\""),
            QStringLiteral("O'Brien llave"),
            QStringLiteral("Obturador"),
            QStringLiteral("0-ring 12"),
            QStringLiteral("10 clavos"),
            QStringLiteral("(Varios)"),
            QStringLiteral("Écrou"),
            QStringLiteral("ecuador"),
            QStringLiteral("Caño PVC"),
            QStringLiteral("Cano"),
            QStringLiteral("CAÑERÍA"),
            QStringLiteral("Zapato"),
            QStringLiteral("Llave 3/4"),
            QStringLiteral("Llave #2"),
            QStringLiteral("llave+tubo"),
            QStringLiteral("Lija 120"),
        };
        for (const QString& n : nombres)
            e.Producto(n);
        f = frmMantProductos::Instancia();
        auto* lista = C<QTableView>("dtgLista");
        lista->setFocus();
        QStringList fallan;
        for (const QString& n : nombres) {
            QTest::keyClick(lista, Qt::Key_Backspace);
            // keyClicks knows only ASCII: each character goes as the text of a key press.
            for (const QChar c : n)
                QTest::sendKeyEvent(QTest::Click, lista, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            if (Txt(1)->text() != n)
                fallan << n + QStringLiteral(" → ") + Txt(1)->text();
        }
        QVERIFY2(fallan.isEmpty(), qPrintable(fallan.join(QStringLiteral("; "))));
    }

    void categoriasDesactivadasSoloSiSeUsan() {
        Entorno e;
        e.Insertar("categoria_insertar", {QStringLiteral("Activa")});
        const int usada = e.Insertar("categoria_insertar", {QStringLiteral("Vieja usada")});
        e.Insertar("categoria_insertar", {QStringLiteral("Vieja sin uso")});
        e.Sql(QStringLiteral(
            "UPDATE categorias SET CatDesactivada=1 WHERE CatDescripcion LIKE 'Vieja%'"));
        e.Producto(QStringLiteral("Arandela"), usada);
        f = frmMantProductos::Instancia();
        QCOMPARE(Items("dtcCategorias"),
                 (QStringList{QStringLiteral("Activa"), QStringLiteral("Vieja usada")}));
        QCOMPARE(C<QComboBox>("dtcCategorias")->currentText(), QStringLiteral("Vieja usada"));
    }

    void categoriaAgregadaEnLaVentanaModalSeOfreceEnseguida() {
        Entorno e;
        e.Insertar("categoria_insertar", {QStringLiteral("Ferretería")});
        // Already open from the tools menu: the button must still work.
        frmMantCategorias::Instancia();
        f = frmMantProductos::Instancia();
        Click(0);
        Escribir(Txt(1), QStringLiteral("Pincel"));
        bool trabajada = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* cats = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == QLatin1String("frmMantCategorias") && w->isVisible())
                    cats = w;
            QVERIFY(cats);
            QVERIFY(cats->isModal());
            QTest::mouseClick(cats->findChild<QPushButton*>(QStringLiteral("cmdMenu_0")),
                              Qt::LeftButton);
            QTest::keyClicks(cats->findChild<QLineEdit*>(QStringLiteral("txtFields_1")),
                             QStringLiteral("Pintura"));
            QTest::mouseClick(cats->findChild<QPushButton*>(QStringLiteral("cmdMenu_2")),
                              Qt::LeftButton);
            trabajada = true;
            QTest::mouseClick(cats->findChild<QPushButton*>(QStringLiteral("cmdMenu_7")),
                              Qt::LeftButton);
        });
        QTest::mouseClick(C<QWidget>("cmdCategorias"), Qt::LeftButton);
        QVERIFY(trabajada);
        QCOMPARE(Items("dtcCategorias"),
                 (QStringList{QStringLiteral("Ferretería"), QStringLiteral("Pintura")}));
        // The entry under way kept what was typed.
        QVERIFY(f->EnEntrada());
        QCOMPARE(Txt(1)->text(), QStringLiteral("Pincel"));
        Elegir("dtcCategorias", QStringLiteral("Pintura"));
        Click(2);
        QCOMPARE(
            e.Valor(QStringLiteral("SELECT c.CatDescripcion FROM productos p JOIN categorias c "
                                   "ON c.CatId=p.CatId WHERE p.ProDescripcion='Pincel'"))
                .toString(),
            QStringLiteral("Pintura"));
    }

    void datosInvalidosOErrorDeLaBaseDejanLaEntrada() {
        Entorno e;
        const int cat = e.Insertar("categoria_insertar", {QStringLiteral("Ferretería")});
        e.Producto(QStringLiteral("Arandela"), cat);
        f = frmMantProductos::Instancia();
        Click(0);
        Click(2);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Debe ingresar la descripción del producto y la categoría"));
        Escribir(Txt(1), QStringLiteral("Clavo"));
        Elegir("dtcCategorias", QStringLiteral("Ferretería"));
        Escribir(Txt(2), QStringLiteral("doce"));
        Escribir(Txt(3), QStringLiteral("NaN"));
        Escribir(Txt(4), QStringLiteral("1.000,x"));
        Click(2);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Debe ingresar un número en: Precio, Costo, Stock Mínimo."));
        Escribir(Txt(2), QStringLiteral("inf"));
        Escribir(Txt(3), QStringLiteral("5"));
        Click(2);
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("Debe ingresar un número en: Precio, Stock Mínimo."));
        QCOMPARE(Contar(e), 1);
        QVERIFY(f->EnEntrada());

        e.Rechazar("rechazo", "BEFORE INSERT", "productos", nullptr, "disco lleno");
        Escribir(Txt(2), QStringLiteral("12"));
        Escribir(Txt(4), QStringLiteral("1000"));
        Mensajes::Limpiar();
        Click(2);
        const auto mostrados = Mensajes::Mostrados();
        QCOMPARE(mostrados.size(), 2);
        QVERIFY(mostrados[0].texto.contains(QStringLiteral("disco lleno")));
        QVERIFY(mostrados[1].texto.startsWith(QStringLiteral("El producto no se guardó.")));
        QCOMPARE(Contar(e), 1);
        QVERIFY(f->EnEntrada());
        QCOMPARE(Txt(1)->text(), QStringLiteral("Clavo"));

        // Once the database takes it, the same entry is written once.
        e.QuitarDisparador("rechazo", "productos");
        Click(2);
        QVERIFY(!f->EnEntrada());
        QCOMPARE(Contar(e), 2);
        QCOMPARE(
            e.Valor(QStringLiteral("SELECT ProMinimo FROM productos WHERE ProDescripcion='Clavo'"))
                .toDouble(),
            1000.0);

        // A refused change of a listed product: the list shows, and is redrawn with, what is
        // stored, while the entry keeps what was typed.
        e.Rechazar("rechazo", "BEFORE UPDATE", "productos", nullptr, "bloqueada");
        ElegirFila(0);
        Click(1);
        Escribir(Txt(1), QStringLiteral("Arandelo"));
        Escribir(Txt(2), QStringLiteral("99"));
        QAbstractItemModel* lista = C<QTableView>("dtgLista")->model();
        QSignalSpy redibujada(lista, &QAbstractItemModel::modelReset);
        Click(2);
        QVERIFY(f->EnEntrada());
        QCOMPARE(Txt(1)->text(), QStringLiteral("Arandelo"));
        QCOMPARE(lista->index(0, 0).data().toString(), QStringLiteral("Arandela"));
        QCOMPARE(lista->index(0, 1).data().toString(), QStringLiteral("0"));
        QVERIFY(!redibujada.isEmpty());
        QCOMPARE(FilaActual(), 0);
    }

    void ingresarNuevoConUnaEntradaSinGuardar() {
        Entorno e;
        e.Producto(QStringLiteral("Arandela"));
        f = frmMantProductos::Instancia();
        Click(1);
        Escribir(Txt(1), QStringLiteral("Arandela grower"));

        Mensajes::Responder(Mensajes::Respuesta::No);
        f->IngresarNuevo();
        QCOMPARE(Mensajes::RespuestasPendientes(), 0);
        QCOMPARE(Txt(1)->text(), QStringLiteral("Arandela grower"));

        Mensajes::Responder(Mensajes::Respuesta::Si);
        f->IngresarNuevo();
        QVERIFY(f->EnEntrada());
        QVERIFY(Txt(1)->text().isEmpty());
        QVERIFY(C<QCheckBox>("chkSinVencimiento")->isChecked());
        QCOMPARE(e.Valor(QStringLiteral("SELECT ProDescripcion FROM productos")).toString(),
                 QStringLiteral("Arandela"));

        // Nothing typed yet: no question, a fresh entry.
        const int antes = Mensajes::Mostrados().size();
        frmMantProductos::Instancia()->IngresarNuevo();
        QCOMPARE(Mensajes::Mostrados().size(), antes);
        QVERIFY(f->EnEntrada());
    }
};

QUIMBEL_PRUEBA(PruebaMantProductos)
#include "PruebaMantProductos.moc"
