#include "TablaLimites.h"

#include "Formato.h"
#include "Mensajes.h"

#include <QHeaderView>
#include <QSignalBlocker>

namespace {

enum { kMoneda, kLimite, kMarcaSinLimite };

QString Celda(const QTableWidget* t, int fila, int col) {
    const QTableWidgetItem* c = t->item(fila, col);
    return c ? c->text().trimmed() : QString();
}

bool Refusar(const QString& texto) {
    Mensajes::MsgBox(texto, Mensajes::Botones::OK, Mensajes::Icono::Exclamacion,
                     QStringLiteral("Atención"));
    return false;
}

bool SinLimite(const QTableWidget* t, int fila) {
    const QTableWidgetItem* c = t->item(fila, kMarcaSinLimite);
    return c && c->checkState() == Qt::Checked;
}

} // namespace

TablaLimites::TablaLimites(QWidget* padre) : QTableWidget(0, 3, padre) {
    setObjectName(QStringLiteral("tblLimites"));
    setAccessibleName(QStringLiteral("Límite de autorización:"));
    setHorizontalHeaderLabels(
        {QStringLiteral("Moneda"), QStringLiteral("Límite"), QStringLiteral("Sin límite")});
    verticalHeader()->hide();
    // The currency takes what room is left, so that the three columns fit without scrolling.
    horizontalHeader()->setSectionResizeMode(kMoneda, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(kLimite, QHeaderView::Fixed);
    horizontalHeader()->resizeSection(
        kLimite, fontMetrics().horizontalAdvance(QStringLiteral("000.000.000,00")) + 12);
    horizontalHeader()->setSectionResizeMode(kMarcaSinLimite, QHeaderView::ResizeToContents);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    // Rows as tall as a line of text, so that a few currencies show without scrolling.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setMaximumHeight(fontMetrics().height() * 7);
    connect(this, &QTableWidget::itemChanged, this, &TablaLimites::AlCambiar);
    SetEditable(false);
}

void TablaLimites::AgregarFila(const QString& moneda, bool monedaFija) {
    const QSignalBlocker quieta(this);
    const int fila = rowCount();
    insertRow(fila);
    auto* m = new QTableWidgetItem(moneda);
    if (monedaFija)
        m->setFlags(m->flags() & ~Qt::ItemIsEditable);
    setItem(fila, kMoneda, m);
    auto* l = new QTableWidgetItem;
    l->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setItem(fila, kLimite, l);
    auto* sin = new QTableWidgetItem;
    sin->setFlags((sin->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable);
    sin->setCheckState(Qt::Unchecked);
    setItem(fila, kMarcaSinLimite, sin);
}

void TablaLimites::Mostrar(int usuId) {
    if (usuId <= 0)
        return;
    const LimitesAutorizacion limites = LeerLimites(usuId);
    setRowCount(0);
    QStringList monedas = MonedasConocidas();
    for (const QString& m : limites.keys())
        if (!monedas.contains(m, Qt::CaseInsensitive))
            monedas << m;
    for (const QString& m : monedas) {
        AgregarFila(m, true);
        for (auto it = limites.cbegin(); it != limites.cend(); ++it)
            if (it.key().compare(m, Qt::CaseInsensitive) == 0) {
                const QSignalBlocker quieta(this);
                const int fila = rowCount() - 1;
                if (it.value() < 0)
                    item(fila, kMarcaSinLimite)->setCheckState(Qt::Checked);
                else
                    item(fila, kLimite)->setText(Formato::Numero(it.value()));
            }
    }
    AgregarFila(QString(), false);
}

void TablaLimites::AlCambiar(QTableWidgetItem* celda) {
    // Typing a currency into the last row leaves a new empty one below it.
    if (celda->column() == kMoneda && celda->row() == rowCount() - 1 &&
        !celda->text().trimmed().isEmpty())
        AgregarFila(QString(), false);
}

void TablaLimites::SetEditable(bool editable) {
    setEditTriggers(editable ? QAbstractItemView::AllEditTriggers
                             : QAbstractItemView::NoEditTriggers);
    const QSignalBlocker quieta(this);
    for (int fila = 0; fila < rowCount(); ++fila)
        if (QTableWidgetItem* c = item(fila, kMarcaSinLimite))
            c->setFlags(editable ? c->flags() | Qt::ItemIsUserCheckable
                                 : c->flags() & ~Qt::ItemIsUserCheckable);
}

bool TablaLimites::Leer(LimitesAutorizacion* limites) const {
    limites->clear();
    for (int fila = 0; fila < rowCount(); ++fila) {
        const QString moneda = Celda(this, fila, kMoneda);
        const QString texto = Celda(this, fila, kLimite);
        const bool sinLimite = SinLimite(this, fila);
        if (texto.isEmpty() && !sinLimite)
            continue;
        if (moneda.isEmpty())
            return Refusar(QStringLiteral("Indique la moneda del Límite de autorización %1.")
                               .arg(sinLimite ? QStringLiteral("sin límite") : texto));
        if (sinLimite && !texto.isEmpty())
            return Refusar(QStringLiteral("En %1 indique un Límite de autorización o marque Sin "
                                          "límite, no ambos.")
                               .arg(moneda));
        double valor = kSinLimite;
        if (!sinLimite && (!Formato::LeerNumero(texto, &valor) || valor < 0))
            return Refusar(QStringLiteral("El Límite de autorización en %1 debe ser un número "
                                          "mayor o igual que cero.")
                               .arg(moneda));
        for (auto it = limites->cbegin(); it != limites->cend(); ++it)
            if (it.key().compare(moneda, Qt::CaseInsensitive) == 0)
                return Refusar(QStringLiteral("La moneda %1 figura dos veces en el Límite de "
                                              "autorización.")
                                   .arg(moneda));
        limites->insert(moneda, valor);
    }
    return true;
}
