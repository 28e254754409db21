#include "frmOrden.h"

#include "Controles.h"
#include "Formato.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "Reloj.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QTreeWidget>

using Mensajes::Botones;
using Mensajes::Icono;
using Mensajes::Respuesta;

namespace {

const QString kAtencion = QStringLiteral("Atención");

// Columns of the quote list.
enum ColPrecio {
    kColId,
    kColEmpId,
    kColProveedor,
    kColContacto,
    kColPrecio,
    kColMoneda,
    kColFormaPago,
    kColFecha,
    kColVigencia,
    kColAceptado,
    kColumnasPrecio
};
constexpr int kRolValor = Qt::UserRole;
constexpr int kRolClave = Qt::UserRole + 1;

QString TextoFecha(const QDateTime& d) {
    return d.isValid() ? QLocale().toString(d.date(), FormatoFecha()) : QString();
}

} // namespace

void frmOrden::CrearColumnasPrecios() {
    if (grdPrecios->columnCount() == kColumnasPrecio)
        return;
    grdPrecios->setColumnCount(kColumnasPrecio);
    grdPrecios->setHeaderLabels(
        {QString(), QString(), QStringLiteral("Proveedor"), QStringLiteral("Contacto"),
         QStringLiteral("Precio"), QStringLiteral("Moneda"), QStringLiteral("Forma de Pago"),
         QStringLiteral("Fecha"), QStringLiteral("Fec.Vigencia"), QStringLiteral("Aceptado")});
    const int anchos[kColumnasPrecio] = {0, 0, 1500, 1200, 1000, 1000, 1200, 1100, 1100, 800};
    for (int c = 0; c < kColumnasPrecio; ++c) {
        anchosPrecios_[c] = Pantalla::Twips(anchos[c], this);
        grdPrecios->setColumnHidden(c, anchos[c] == 0);
    }
    grdPrecios->headerItem()->setTextAlignment(kColPrecio, Qt::AlignRight | Qt::AlignVCenter);
    AjustarColumnasPrecios();
}

void frmOrden::AjustarColumnasPrecios() {
    // The designed widths, widened where a header or a value would otherwise be cut.
    for (int c = 0; c < kColumnasPrecio; ++c) {
        if (grdPrecios->isColumnHidden(c))
            continue;
        grdPrecios->resizeColumnToContents(c);
        grdPrecios->setColumnWidth(c, qMax(anchosPrecios_[c], grdPrecios->columnWidth(c)));
    }
}

void frmOrden::CargarPrecios() {
    grdPrecios->clear();
    filaEnEdicion_ = nullptr;
    ActualizarFilaEnEdicion();
    const QString numero = lblNumeroDeOrden->text().trimmed();
    if (numero.toInt() > 0) {
        for (const Ordenes::PrecioLeido& leido : Ordenes::LeerPrecios(numero.toInt())) {
            FilaPrecio p;
            static_cast<Ordenes::PrecioLeido&>(p) = leido;
            p.clave = QStringLiteral("P") + QString::number(p.id);
            EscribirFila(new QTreeWidgetItem(grdPrecios), p);
        }
    }
    MarcarPrecios();
    AjustarColumnasPrecios();
    grdPrecios->update();
}

void frmOrden::EscribirFila(QTreeWidgetItem* fila, const FilaPrecio& p) {
    // The list shows texts in the user's locale; the values themselves ride along, so that
    // saving never has to read a number or a date back from its text.
    auto poner = [fila](int col, const QString& texto, const QVariant& valor) {
        fila->setText(col, texto);
        fila->setData(col, kRolValor, valor);
    };
    fila->setData(kColId, kRolClave, p.clave);
    poner(kColId, QString::number(p.id), p.id);
    poner(kColEmpId, QString::number(p.empId), p.empId);
    poner(kColProveedor, p.proveedor, p.proveedor);
    poner(kColContacto, p.contacto, p.contacto);
    poner(kColPrecio, Formato::Numero(p.precio), p.precio);
    fila->setTextAlignment(kColPrecio, Qt::AlignRight | Qt::AlignVCenter);
    poner(kColMoneda, p.moneda, p.moneda);
    poner(kColFormaPago, p.formaPago, p.formaPago);
    poner(kColFecha, TextoFecha(p.fecha), p.fecha);
    poner(kColVigencia, TextoFecha(p.vigencia), p.vigencia);
    poner(kColAceptado, p.aceptado ? QStringLiteral("Si") : QStringLiteral("No"), p.aceptado);
}

FilaPrecio frmOrden::LeerFila(const QTreeWidgetItem* fila) const {
    FilaPrecio p;
    p.clave = fila->data(kColId, kRolClave).toString();
    p.id = fila->data(kColId, kRolValor).toInt();
    p.empId = fila->data(kColEmpId, kRolValor).toInt();
    p.proveedor = fila->data(kColProveedor, kRolValor).toString();
    p.contacto = fila->data(kColContacto, kRolValor).toString();
    p.precio = fila->data(kColPrecio, kRolValor).toDouble();
    p.moneda = fila->data(kColMoneda, kRolValor).toString();
    p.formaPago = fila->data(kColFormaPago, kRolValor).toString();
    p.fecha = fila->data(kColFecha, kRolValor).toDateTime();
    p.vigencia = fila->data(kColVigencia, kRolValor).toDateTime();
    p.aceptado = fila->text(kColAceptado) == QLatin1String("Si");
    return p;
}

QList<FilaPrecio> frmOrden::FilasPrecios() const {
    QList<FilaPrecio> r;
    for (int i = 0; i < grdPrecios->topLevelItemCount(); ++i)
        r << LeerFila(grdPrecios->topLevelItem(i));
    return r;
}

int frmOrden::FilaEnEdicion() const {
    return filaEnEdicion_ ? grdPrecios->indexOfTopLevelItem(filaEnEdicion_) + 1 : 0;
}

void frmOrden::ActualizarFilaEnEdicion() {
    const int fila = FilaEnEdicion();
    SetTag(txtPrecio, fila > 0 ? QString::number(fila) : QString());
}

void frmOrden::LimpiarPrecio() {
    SetTag(txtProveedor, QString());
    txtProveedor->clear();
    txtContacto->clear();
    dtcMoneda->SetValor(QString());
    txtPrecio->setText(QStringLiteral("0.0"));
    dtcFormaDePago->SetValor(QString());
    dtpPreFecha->SetMomento(Reloj::Ahora());
    dtpPreFecVigencia->SetMomento(Reloj::Ahora());
    chkAceptado->setChecked(false);
    filaEnEdicion_ = nullptr;
    ActualizarFilaEnEdicion();
}

void frmOrden::CargarFilaPrecio() {
    const QList<QTreeWidgetItem*> elegidas = grdPrecios->selectedItems();
    if (grdPrecios->topLevelItemCount() == 0 || elegidas.isEmpty())
        return;
    filaEnEdicion_ = elegidas.first();
    ActualizarFilaEnEdicion();
    const FilaPrecio p = LeerFila(filaEnEdicion_);
    SetTag(txtProveedor, QString::number(p.empId));
    txtProveedor->setText(p.proveedor);
    txtContacto->setText(p.contacto);
    txtPrecio->setText(Formato::Numero(p.precio));
    dtcMoneda->SetValor(p.moneda);
    dtpPreFecha->SetMomento(p.fecha);
    dtpPreFecVigencia->SetMomento(p.vigencia);
    dtcFormaDePago->SetValor(p.formaPago);
    chkAceptado->setChecked(p.aceptado);
}

bool frmOrden::ValidarPrecio() {
    QString mensaje;
    const QString precio = txtPrecio->text().trimmed();
    double valor = 0;
    if (precio.isEmpty())
        mensaje += QStringLiteral("El Precio es requerido.\r\n");
    else if (!Formato::LeerNumero(precio, &valor))
        mensaje += QStringLiteral("El Precio debe ser un valor numérico.\r\n");
    else if (valor <= 0)
        mensaje += QStringLiteral("La Precio debe ser mayor que cero.\r\n");
    const QString proveedor = Tag(txtProveedor);
    if (proveedor.isEmpty() || proveedor == QLatin1String("0"))
        mensaje += QStringLiteral("El Proveedor es requerido.\r\n");
    if (dtcMoneda->Valor().isEmpty())
        mensaje += QStringLiteral("La Moneda es requerida.\r\n");
    if (dtcFormaDePago->Valor().isEmpty())
        mensaje += QStringLiteral("La Forma de Pago es requerida.\r\n");
    if (mensaje.isEmpty())
        return true;
    Mensajes::MsgBox(mensaje, Botones::OK, Icono::Exclamacion, kAtencion);
    return false;
}

void frmOrden::AceptarPrecio() {
    QList<Historial::Nota> decisiones;
    if (!ValidarPrecio() || !MonedaEnUso() || !ConfirmarAceptacion(&decisiones))
        return;
    if (chkAceptado->isChecked()) {
        for (int i = 0; i < grdPrecios->topLevelItemCount(); ++i) {
            QTreeWidgetItem* f = grdPrecios->topLevelItem(i);
            f->setText(kColAceptado, QStringLiteral("No"));
            f->setData(kColAceptado, kRolValor, false);
        }
    }
    QTreeWidgetItem* fila = filaEnEdicion_;
    FilaPrecio p;
    if (fila) {
        p = LeerFila(fila);
    } else {
        p.id = grdPrecios->topLevelItemCount() + 1;
        p.clave = QStringLiteral("N") + QString::number(siguienteClave_++);
        fila = new QTreeWidgetItem(grdPrecios);
    }
    p.empId = Tag(txtProveedor).toInt();
    p.proveedor = txtProveedor->text();
    p.contacto = txtContacto->text();
    Formato::LeerNumero(txtPrecio->text(), &p.precio);
    p.moneda = dtcMoneda->Valor();
    p.formaPago = dtcFormaDePago->Valor();
    p.fecha = dtpPreFecha->Momento();
    p.vigencia = dtpPreFecVigencia->Momento();
    p.aceptado = chkAceptado->isChecked();
    EscribirFila(fila, p);
    if (p.aceptado)
        AnotarAceptacion(p.clave, decisiones);
    MarcarPrecios();
    AjustarColumnasPrecios();
    LimpiarPrecio();
    SeguirAutorizantes();
}

void frmOrden::QuitarPrecio() {
    if (grdPrecios->topLevelItemCount() == 0) {
        Mensajes::MsgBox(QStringLiteral("No hay precios para quitar."), Botones::OK,
                         Icono::Informacion, kAtencion);
        return;
    }
    const QList<QTreeWidgetItem*> elegidas = grdPrecios->selectedItems();
    if (elegidas.isEmpty()) {
        Mensajes::MsgBox(QStringLiteral("Seleccione el precio que desea quitar."), Botones::OK,
                         Icono::Informacion, kAtencion);
        return;
    }
    if (Mensajes::MsgBox(QStringLiteral("¿Confirma que desea quitar el precio seleccionado?"),
                         Botones::SiNo, Icono::Pregunta,
                         QStringLiteral("Quitar precio")) != Respuesta::Si)
        return;
    QTreeWidgetItem* fila = elegidas.first();
    // The entry being edited follows its row; once that row is gone the entry becomes a new one.
    if (fila == filaEnEdicion_)
        filaEnEdicion_ = nullptr;
    delete fila;
    ActualizarFilaEnEdicion();
    MarcarPrecios();
    grdPrecios->update();
    SeguirAutorizantes();
}
