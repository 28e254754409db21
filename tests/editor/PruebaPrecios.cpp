#include "Controles.h"
#include "DatosEditor.h"
#include "Mensajes.h"
#include "RegistroPruebas.h"
#include "Reloj.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace DatosEditor;
using Mensajes::Icono;
using Mensajes::Respuesta;

namespace {

// Types one quote into the entry fields, as a person would after picking the supplier.
void Entrada(frmOrden* f, int proveedor, const QString& nombre, const QString& precio,
             bool aceptado, const QString& moneda = QStringLiteral("Pesos")) {
    SetTag(f->txtProveedor, QString::number(proveedor));
    f->txtProveedor->setText(nombre);
    f->txtPrecio->setText(precio);
    f->dtcMoneda->SetValor(moneda);
    f->dtcFormaDePago->SetValor(QStringLiteral("Contado"));
    f->chkAceptado->setChecked(aceptado);
}

QStringList Columna(frmOrden* f, int col) {
    QStringList r;
    for (int i = 0; i < f->grdPrecios->topLevelItemCount(); ++i)
        r << f->grdPrecios->topLevelItem(i)->text(col);
    return r;
}

} // namespace

class PruebaPrecios : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        Cerrar();
        Reloj::Fijar(QDateTime());
    }

    void validarPrecioJuntaLosErroresEnUnMensaje() {
        Entorno e;
        CargarMaestros(e);
        frmOrden* f = Abrir(true);
        f->txtPrecio->setText(QStringLiteral("doce"));
        f->cmdAceptar->click();
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        const Mensajes::Mostrado msg = Mensajes::Mostrados().first();
        QCOMPARE(msg.texto, QStringLiteral("El Precio debe ser un valor numérico.\r\n"
                                           "El Proveedor es requerido.\r\n"
                                           "La Moneda es requerida.\r\n"
                                           "La Forma de Pago es requerida.\r\n"));
        QCOMPARE(msg.titulo, QStringLiteral("Atención"));
        QCOMPARE(msg.icono, Icono::Exclamacion);
        QCOMPARE(f->grdPrecios->topLevelItemCount(), 0);
        QCOMPARE(f->txtPrecio->text(), QStringLiteral("doce"));

        // The default price is refused; a supplier typed but not picked does not count.
        Mensajes::Limpiar();
        f->LimpiarPrecio();
        f->txtProveedor->setText(QStringLiteral("Acme"));
        f->dtcMoneda->SetValor(QStringLiteral("Pesos"));
        f->dtcFormaDePago->SetValor(QStringLiteral("Contado"));
        f->cmdAceptar->click();
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("La Precio debe ser mayor que cero.\r\n"
                                                         "El Proveedor es requerido.\r\n"));
        f->txtPrecio->clear();
        f->cmdAceptar->click();
        QVERIFY(Mensajes::UltimoTexto().startsWith(QStringLiteral("El Precio es requerido.\r\n")));
        // Text that the number parser takes for a value that is not a number is still refused.
        for (const char* raro : {"nan", "NaN", "inf", "-inf"}) {
            f->txtPrecio->setText(QLatin1String(raro));
            f->cmdAceptar->click();
            QCOMPARE(Mensajes::UltimoTexto(),
                     QStringLiteral("El Precio debe ser un valor numérico.\r\n"
                                    "El Proveedor es requerido.\r\n"));
        }
    }

    void aceptarDejaUnSoloPrecioAceptado() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        Reloj::Fijar(kAhora);
        frmOrden* f = Abrir(true);
        Entrada(f, m.acme, QStringLiteral("Acme"), QStringLiteral("10"), true);
        f->cmdAceptar->click();
        Entrada(f, m.obrien, QStringLiteral("O'Brien"), QStringLiteral("11"), false,
                QStringLiteral("Dólares"));
        f->cmdAceptar->click();
        QCOMPARE(Columna(f, 9), (QStringList{QStringLiteral("Si"), QStringLiteral("No")}));
        Entrada(f, m.acme, QStringLiteral("Acme"), QStringLiteral("9"), true);
        f->cmdAceptar->click();
        QCOMPARE(Columna(f, 9),
                 (QStringList{QStringLiteral("No"), QStringLiteral("No"), QStringLiteral("Si")}));
        QVERIFY(Mensajes::Mostrados().isEmpty());

        const QList<FilaPrecio> filas = f->FilasPrecios();
        QCOMPARE(filas.size(), 3);
        QVERIFY(!filas[0].aceptado && filas[2].aceptado);
        QCOMPARE(filas[1].moneda, QStringLiteral("Dólares"));
        QCOMPARE(filas[1].empId, m.obrien);
        QCOMPARE(filas[1].fecha, kAhora);
        // Row numbers and keys of added rows never repeat.
        QCOMPARE(Columna(f, 0),
                 (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
        QCOMPARE(QSet<QString>({filas[0].clave, filas[1].clave, filas[2].clave}).size(), 3);
        // After storing, the entry is reset for the next quote.
        QCOMPARE(f->txtPrecio->text(), QStringLiteral("0.0"));
        QCOMPARE(Tag(f->txtProveedor), QString());
        QCOMPARE(Tag(f->txtPrecio), QString());
    }

    void clicEnLaFila2CambiaSoloLaFila2() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"));
        Precio(e, orden, m.acme, 10, false);
        Precio(e, orden, m.obrien, 20, true);
        Precio(e, orden, m.acme, 30, false);
        frmOrden* f = Abrir(false, orden);
        f->cmdMenu[1]->click();

        ClicEnFila(f->grdPrecios, 1);
        QCOMPARE(Tag(f->txtPrecio), QStringLiteral("2"));
        QCOMPARE(f->txtProveedor->text(), QStringLiteral("Rodamientos O'Brien"));
        QCOMPARE(Tag(f->txtProveedor), QString::number(m.obrien));
        QCOMPARE(f->txtContacto->text(), QStringLiteral("Sr. D'Angelo"));
        QCOMPARE(f->txtPrecio->text(), QStringLiteral("20"));
        QCOMPARE(f->dtpPreFecVigencia->Momento().date(), QDate(2026, 3, 2));
        QVERIFY(f->chkAceptado->isChecked());

        const QList<FilaPrecio> antes = f->FilasPrecios();
        f->txtPrecio->setText(QStringLiteral("1234,5"));
        f->cmdAceptar->click();
        const QList<FilaPrecio> despues = f->FilasPrecios();
        QCOMPARE(despues.size(), 3);
        QCOMPARE(despues[1].precio, 1234.5);
        QCOMPARE(despues[1].clave, antes[1].clave);
        QCOMPARE(despues[1].fecha, antes[1].fecha);
        QCOMPARE(f->grdPrecios->topLevelItem(1)->text(4), QStringLiteral("1234,5"));
        QCOMPARE(despues[0].precio, 10.0);
        QCOMPARE(despues[2].precio, 30.0);
        QCOMPARE(Columna(f, 9),
                 (QStringList{QStringLiteral("No"), QStringLiteral("Si"), QStringLiteral("No")}));

        Entrada(f, m.acme, QStringLiteral("Acme"), QStringLiteral("1.5"), false);
        f->cmdAceptar->click();
        QCOMPARE(f->grdPrecios->topLevelItemCount(), 4);
        // A price typed in the C form is read as the same number in a comma locale.
        QCOMPARE(f->FilasPrecios()[3].precio, 1.5);
        QCOMPARE(f->FilasPrecios()[3].clave.startsWith(QLatin1Char('P')), false);
    }

    void quitarMientrasSeEditaNoPisaOtraFila() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int orden = Orden(e, m, QStringLiteral("korva"));
        Precio(e, orden, m.acme, 10, false);
        Precio(e, orden, m.acme, 20, false);
        Precio(e, orden, m.acme, 30, false);
        frmOrden* f = Abrir(false, orden);
        f->cmdMenu[1]->click();

        // Editing row 3, then row 1 is removed: the edit follows its row, now the second.
        ClicEnFila(f->grdPrecios, 2);
        f->grdPrecios->setCurrentItem(f->grdPrecios->topLevelItem(0));
        Mensajes::Responder(Respuesta::Si);
        f->cmdQuitar->click();
        QCOMPARE(Mensajes::UltimoTexto(),
                 QStringLiteral("¿Confirma que desea quitar el precio seleccionado?"));
        QCOMPARE(Tag(f->txtPrecio), QStringLiteral("2"));
        f->txtPrecio->setText(QStringLiteral("33"));
        f->cmdAceptar->click();
        QCOMPARE(Columna(f, 4), (QStringList{QStringLiteral("20"), QStringLiteral("33")}));

        // Removing the row being edited turns the entry into a new quote.
        ClicEnFila(f->grdPrecios, 0);
        Mensajes::Responder(Respuesta::Si);
        f->cmdQuitar->click();
        QCOMPARE(Tag(f->txtPrecio), QString());
        QCOMPARE(f->txtPrecio->text(), QStringLiteral("20"));
        f->cmdAceptar->click();
        QCOMPARE(Columna(f, 4), (QStringList{QStringLiteral("33"), QStringLiteral("20")}));

        // "No" keeps the row; an empty list says so and asks nothing.
        f->grdPrecios->setCurrentItem(f->grdPrecios->topLevelItem(0));
        Mensajes::Responder(Respuesta::No);
        f->cmdQuitar->click();
        QCOMPARE(f->grdPrecios->topLevelItemCount(), 2);
        f->grdPrecios->clear();
        Mensajes::Limpiar();
        f->cmdQuitar->click();
        QCOMPARE(Mensajes::Mostrados().size(), 1);
        QCOMPARE(Mensajes::UltimoTexto(), QStringLiteral("No hay precios para quitar."));
        QCOMPARE(Mensajes::Mostrados().first().icono, Icono::Informacion);
    }
};

QUIMBEL_PRUEBA(PruebaPrecios)
#include "PruebaPrecios.moc"
