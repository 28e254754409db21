#include "ComparacionPrecios.h"
#include "Controles.h"
#include "Formato.h"
#include "Mensajes.h"
#include "ReglasAprobacion.h"
#include "Reloj.h"
#include "frmOrden.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTreeWidget>

using Mensajes::Botones;
using Mensajes::Icono;
using Mensajes::Respuesta;

namespace {

const QString& kVencida = Regla::kVencida;

QString TextoMenor(const QString& moneda) {
    return QStringLiteral("Menor precio en ") + moneda.trimmed();
}

const QString kPrefijoMotivo = QStringLiteral("Motivo: ");
const QString kFinMotivo = QStringLiteral(" (aceptó la cotización de ");

// The history's note for a reason leads with it, so that a reader finds it first.
QString NotaMotivo(const QString& motivo, const QString& proveedor, const QString& moneda) {
    return kPrefijoMotivo + motivo + kFinMotivo +
           QStringLiteral("%1, que no es la de menor precio en %2)")
               .arg(proveedor, moneda.trimmed());
}

QString MotivoDeNota(const QString& nota) {
    if (!nota.startsWith(kPrefijoMotivo))
        return nota;
    const qsizetype fin = nota.lastIndexOf(kFinMotivo);
    return nota.mid(kPrefijoMotivo.size(),
                    fin > 0 ? fin - kPrefijoMotivo.size() : nota.size() - kPrefijoMotivo.size());
}

QString PedirMotivo(const QString& moneda) {
    return Mensajes::InputBox(QStringLiteral("Esta cotización no es la de menor precio en "
                                             "%1. Indique brevemente el motivo para "
                                             "aceptarla:")
                                  .arg(moneda.trimmed()),
                              QStringLiteral("Motivo de la elección"))
        .trimmed();
}

void Marcar(QTreeWidgetItem* fila, const MarcaPrecio& m, const QString& moneda,
            const QString& motivo) {
    QStringList avisos;
    if (m.vencida)
        avisos << kVencida;
    if (m.menor)
        avisos << TextoMenor(moneda);
    if (!motivo.isEmpty())
        avisos << QStringLiteral("Motivo de la elección: ") + motivo;
    const QString aviso = avisos.join(QLatin1Char('\n'));
    for (int c = 0; c < fila->columnCount(); ++c) {
        QFont letra = fila->font(c);
        letra.setBold(m.menor);
        fila->setFont(c, letra);
        fila->setData(c, Qt::ForegroundRole, m.vencida ? QVariant(QColor(Qt::red)) : QVariant());
        fila->setToolTip(c, aviso);
        // A screen reader does not read tooltips of list cells.
        fila->setData(c, Qt::AccessibleDescriptionRole, aviso);
    }
}

} // namespace

void frmOrden::MarcarPrecios() {
    const QList<FilaPrecio> filas = FilasPrecios();
    QList<Ordenes::PrecioAGuardar> cotizaciones;
    for (const FilaPrecio& p : filas)
        cotizaciones << p;
    const QList<MarcaPrecio> marcas = CompararPrecios(cotizaciones, Reloj::Hoy());
    for (int i = 0; i < marcas.size(); ++i)
        Marcar(grdPrecios->topLevelItem(i), marcas[i], cotizaciones[i].moneda,
               filas[i].aceptado && marcas[i].masCara ? MotivoDe(filas[i].clave) : QString());
}

QString frmOrden::MotivoDe(const QString& fila) const {
    for (const NotaPendiente& n : notasHistorial_)
        if (n.fila == fila && n.nota.campo == Regla::kMayorPrecio)
            return MotivoDeNota(n.nota.texto);
    return MotivoGuardadoVigente();
}

QString frmOrden::MotivoGuardadoVigente() const {
    QList<Ordenes::PrecioAGuardar> cotizaciones;
    for (const FilaPrecio& p : FilasPrecios())
        cotizaciones << p;
    return MismasCotizaciones(cotizaciones, preciosDelMotivo_) ? MotivoDeNota(motivoGuardado_)
                                                               : QString();
}

void frmOrden::LeerMotivoGuardado() {
    motivoGuardado_ = agregando ? QString() : MotivoPrecioAceptado(ordid);
    preciosDelMotivo_.clear();
    for (const FilaPrecio& p : FilasPrecios())
        preciosDelMotivo_ << p;
}

bool frmOrden::JustificarPrecioAceptado() {
    const QList<FilaPrecio> filas = FilasPrecios();
    QList<Ordenes::PrecioAGuardar> cotizaciones;
    for (const FilaPrecio& p : filas)
        cotizaciones << p;
    const QList<MarcaPrecio> marcas = CompararPrecios(cotizaciones, Reloj::Hoy());
    qsizetype i = 0;
    while (i < filas.size() && !filas[i].aceptado)
        ++i;
    // The rules are read last: a save that needs no reason reaches the database first with
    // the save itself, which tells a lost connection in its own words.
    if (i == filas.size() || !marcas[i].masCara || !MotivoDe(filas[i].clave).isEmpty() ||
        !ReglasAprobacion::Leer().justificarCotizacion)
        return true;
    const QString motivo = PedirMotivo(filas[i].moneda);
    if (motivo.isEmpty()) {
        Mensajes::MsgBox(QStringLiteral("No se guardó la Orden de Compra: la cotización aceptada "
                                        "no es la de menor precio en %1 y falta el motivo de la "
                                        "elección.")
                             .arg(filas[i].moneda.trimmed()),
                         Botones::OK, Icono::Exclamacion, QStringLiteral("Atención"));
        return false;
    }
    notasHistorial_ << NotaPendiente{
        {Regla::kMayorPrecio, NotaMotivo(motivo, filas[i].proveedor.trimmed(), filas[i].moneda)},
        filas[i].clave};
    MarcarPrecios();
    return true;
}

bool frmOrden::ConfirmarAceptacion(QList<Historial::Nota>* decisiones) {
    if (!chkAceptado->isChecked() || !ReglasAprobacion::Leer().justificarCotizacion)
        return true;
    // The list as it will be once the entry is stored.
    QList<Ordenes::PrecioAGuardar> cotizaciones;
    for (const FilaPrecio& p : FilasPrecios())
        cotizaciones << p;
    const int editada = FilaEnEdicion() - 1;
    Ordenes::PrecioAGuardar nuevo;
    Formato::LeerNumero(txtPrecio->text(), &nuevo.precio);
    nuevo.moneda = dtcMoneda->Valor();
    nuevo.vigencia = dtpPreFecVigencia->Momento();
    nuevo.aceptado = true;
    // Storing again the accepted quote as it was asks nothing new.
    if (editada >= 0) {
        const Ordenes::PrecioAGuardar& antes = cotizaciones[editada];
        if (antes.aceptado && antes.precio == nuevo.precio && antes.moneda == nuevo.moneda &&
            antes.vigencia.date() == nuevo.vigencia.date())
            return true;
        cotizaciones[editada] = nuevo;
    } else {
        cotizaciones << nuevo;
    }
    const int posicion = editada >= 0 ? editada : int(cotizaciones.size()) - 1;
    const MarcaPrecio marca = CompararPrecios(cotizaciones, Reloj::Hoy())[posicion];
    const QString proveedor = txtProveedor->text().trimmed();

    if (marca.vencida &&
        Mensajes::MsgBox(
            QStringLiteral("La cotización está vencida. ¿Desea aceptarla de todos modos?"),
            Botones::SiNo, Icono::Pregunta, kVencida) != Respuesta::Si)
        return false;
    QString motivo;
    if (marca.masCara) {
        motivo = PedirMotivo(nuevo.moneda);
        if (motivo.isEmpty()) {
            Mensajes::MsgBox(QStringLiteral("Sin un motivo la cotización no se acepta."),
                             Botones::OK, Icono::Informacion, QStringLiteral("Atención"));
            return false;
        }
    }
    if (marca.vencida)
        decisiones->append(
            {kVencida, QStringLiteral("Aceptó la cotización vencida de %1.").arg(proveedor)});
    if (marca.masCara)
        decisiones->append({Regla::kMayorPrecio, NotaMotivo(motivo, proveedor, nuevo.moneda)});
    return true;
}
