#include "GrillaBusqueda.h"

#include "Conexiones.h"
#include "Controles.h"
#include "Pantalla.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

GrillaBusqueda::GrillaBusqueda(const QString& nombreGrilla, const QString& titulo, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Coincidencias"));
    auto* raiz = new QVBoxLayout(this);
    auto* encabezado = new QLabel(titulo, this);
    encabezado->setAlignment(Qt::AlignCenter);
    QFont f = encabezado->font();
    f.setBold(true);
    encabezado->setFont(f);
    encabezado->setAutoFillBackground(true);
    encabezado->setBackgroundRole(QPalette::Mid);
    encabezado->setMargin(3);
    raiz->addWidget(encabezado);

    grilla_ = new QTableView(this);
    grilla_->setObjectName(nombreGrilla);
    grilla_->setAccessibleName(titulo);
    grilla_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grilla_->setSelectionMode(QAbstractItemView::SingleSelection);
    grilla_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilla_->setTabKeyNavigation(false);
    grilla_->setSortingEnabled(false);
    grilla_->horizontalHeader()->setSectionsClickable(false);
    grilla_->verticalHeader()->setDefaultSectionSize(grilla_->fontMetrics().height() + 6);
    encabezado->setBuddy(grilla_);
    raiz->addWidget(grilla_, 1);

    cmdSeleccionar = new QPushButton(QStringLiteral("Seleccionar"), this);
    cmdSeleccionar->setObjectName(QStringLiteral("cmdSeleccionar"));
    cmdSeleccionar->setDefault(true);
    cmdCancelar = new QPushButton(QStringLiteral("Cancelar"), this);
    cmdCancelar->setObjectName(QStringLiteral("cmdCancelar"));
    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cmdSeleccionar);
    botones->addWidget(cmdCancelar);
    raiz->addLayout(botones);

    connect(cmdSeleccionar, &QPushButton::clicked, this, [this] {
        cancelado = false;
        accept();
    });
    connect(cmdCancelar, &QPushButton::clicked, this, &GrillaBusqueda::reject);
    connect(grilla_, &QTableView::doubleClicked, cmdSeleccionar, &QPushButton::click);
    resize(Pantalla::Twips(9000, this), Pantalla::Twips(4800, this));
}

GrillaBusqueda::~GrillaBusqueda() {
    CerrarRecordset(rs_, false);
}

int GrillaBusqueda::exec() {
    cancelado = true;
    Buscar();
    return QDialog::exec();
}

void GrillaBusqueda::reject() {
    // The close box and Escape mean "Cancelar" too.
    cancelado = true;
    QDialog::reject();
}

void GrillaBusqueda::MostrarResultado(const QList<ColumnaLista>& columnas) {
    delete modelo_;
    modelo_ = new ModeloLista(columnas, this);
    modelo_->Asignar(&rs_);
    grilla_->setModel(modelo_);
    connect(grilla_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &GrillaBusqueda::FilaCambiada);
    connect(grilla_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &GrillaBusqueda::SeleccionCambiada);
    grilla_->resizeColumnsToContents();
    // Wide enough for every column when the screen allows it.
    int ancho = grilla_->verticalHeader()->sizeHint().width() + 2 * grilla_->frameWidth() +
                grilla_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < modelo_->columnCount(); ++c)
        ancho += grilla_->columnWidth(c);
    const QMargins m = layout()->contentsMargins();
    ancho += m.left() + m.right();
    if (screen())
        ancho = qMin(ancho, screen()->availableGeometry().width() * 9 / 10);
    if (ancho > width())
        resize(ancho, height());
    // Room left over goes to the name, the column people read.
    grilla_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    // The first match counts as chosen, so that "Seleccionar" right away takes it.
    if (modelo_->rowCount() > 0)
        grilla_->setCurrentIndex(modelo_->index(0, 0));
    grilla_->setFocus();
}

// A row can be selected without becoming the current one (an assistive tool selects through the
// table) and made current without being selected. The two are kept as one row, so that
// "Seleccionar" takes the row a person sees highlighted.
void GrillaBusqueda::SeleccionCambiada(const QItemSelection& elegidas) {
    const QModelIndexList celdas = elegidas.indexes();
    if (celdas.isEmpty())
        return;
    if (celdas.first().row() != grilla_->currentIndex().row())
        grilla_->selectionModel()->setCurrentIndex(
            celdas.first(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        FilaCambiada();
}

void GrillaBusqueda::FilaCambiada() {
    const QModelIndex actual = grilla_->currentIndex();
    if (!actual.isValid())
        return;
    QItemSelectionModel* seleccion = grilla_->selectionModel();
    if (!seleccion->isRowSelected(actual.row()))
        seleccion->select(actual, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    rs_.SetAbsolutePosition(actual.row() + 1);
    if (rs_.AbsolutePosition() > 0)
        TomarFila();
}
