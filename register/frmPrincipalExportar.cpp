#include "ExportarLista.h"
#include "ModeloOrdenes.h"
#include "frmPrincipal.h"

Tabla frmPrincipal::TablaParaExportar() const {
    Tabla t;
    t.nombre = EstadoActual();
    QStringList campos;
    for (int c = ModeloOrdenes::Fecha; c < ModeloOrdenes::kColumnas; ++c) {
        t.encabezados << modelo_->headerData(c, Qt::Horizontal).toString();
        campos << ModeloOrdenes::CampoDe(c);
        if (c == ModeloOrdenes::Importe) {
            t.encabezados << QStringLiteral("Moneda");
            campos << QStringLiteral("PreMoneda");
        }
    }
    QVector<int> indices;
    for (const QString& campo : campos)
        indices << rsLista.IndiceCampo(campo);

    // An order without an accepted quote has no amount: its cell stays empty, as on the printed
    // list, where the list on screen shows 0 (a 0 in a spreadsheet would be summed as a price).
    const bool soloMarcadas = !IdsMarcados().isEmpty();
    for (int f = 0; f < modelo_->rowCount(); ++f) {
        if (soloMarcadas && !modelo_->Marcada(f))
            continue;
        const QVector<QVariant>& registro = rsLista.Fila(f);
        QVector<QVariant> fila(indices.size());
        for (int c = 0; c < indices.size(); ++c)
            fila[c] = indices[c] >= 0 ? registro[indices[c]] : QVariant();
        t.filas << fila;
    }
    return t;
}

void frmPrincipal::mnuArchivoExportar_Click() {
    // The progress bar is a window of the program; coming back from it keeps the list as it is.
    const bool recargar = recargarAlActivar;
    recargarAlActivar = false;
    ExportarTabla(TablaParaExportar(), QStringLiteral("Ordenes de Compra - ") + EstadoActual(),
                  this);
    recargarAlActivar = recargar;
}
