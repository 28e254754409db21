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

void Marcar(QTreeWidgetItem* fila, const MarcaPrecio& m, const QString& moneda) {
    QStringList avisos;
    if (m.vencida)
        avisos << kVencida;
    if (m.menor)
        avisos << TextoMenor(moneda);
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
    QList<Ordenes::PrecioAGuardar> cotizaciones;
    for (const FilaPrecio& p : FilasPrecios())
        cotizaciones << p;
    const QList<MarcaPrecio> marcas = CompararPrecios(cotizaciones, Reloj::Hoy());
    for (int i = 0; i < marcas.size(); ++i)
        Marcar(grdPrecios->topLevelItem(i), marcas[i], cotizaciones[i].moneda);
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
        motivo = Mensajes::InputBox(QStringLiteral("Esta cotización no es la de menor precio en "
                                                   "%1. Indique brevemente el motivo para "
                                                   "aceptarla:")
                                        .arg(nuevo.moneda.trimmed()),
                                    QStringLiteral("Motivo de la elección"))
                     .trimmed();
        if (motivo.isEmpty())
            return false;
    }
    if (marca.vencida)
        decisiones->append(
            {kVencida, QStringLiteral("Aceptó la cotización vencida de %1.").arg(proveedor)});
    if (marca.masCara)
        decisiones->append({Regla::kMayorPrecio,
                            // The reason first: it is what a reader of the history looks for.
                            QStringLiteral("Motivo: %1 (aceptó la cotización de %2, que no es la "
                                           "de menor precio en %3)")
                                .arg(motivo, proveedor, nuevo.moneda.trimmed())});
    return true;
}
