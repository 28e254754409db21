#include "frmMantProductos.h"

#include "Conexiones.h"
#include "Disenos.h"
#include "ExportarLista.h"
#include "Formato.h"
#include "Historial.h"
#include "Iconos.h"
#include "LimiteTexto.h"
#include "Mensajes.h"
#include "Pantalla.h"
#include "ProductosCalculos.h"
#include "Sugerencias.h"
#include "Usuario.h"
#include "VentanaUnica.h"
#include "VistaPrevia.h"
#include "dteQuimbel.h"
#include "frmMantCategorias.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>

namespace {

dteQuimbel& Dte() {
    return dteQuimbel::Instancia();
}
RecordsetEditable& Rs() {
    return dteQuimbel::Instancia().rsCProductos();
}

const char* const kSqlCategorias = "SELECT * FROM CATEGORIAS WHERE CATDESACTIVADA=FALSE OR CATID "
                                   "IN(SELECT CATID FROM PRODUCTOS) ORDER BY CATDESCRIPCION ASC";

} // namespace

// The list's five columns over the product record set. A product being entered is not a row
// of the list until it has been written.
class ModeloProductos : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void Refrescar() {
        beginResetModel();
        columnas_.clear();
        for (const char* c :
             {"ProDescripcion", "ProPrecio", "ProCosto", "ProMinimo", "ProDesactivado"})
            columnas_ << Rs().IndiceCampo(QLatin1String(c));
        endResetModel();
    }

    int rowCount(const QModelIndex& padre = {}) const override {
        if (padre.isValid())
            return 0;
        const RecordsetEditable& rs = Rs();
        return rs.RecordCount() - (rs.EsNuevo() ? 1 : 0);
    }
    int columnCount(const QModelIndex& padre = {}) const override {
        return padre.isValid() ? 0 : 5;
    }

    QVariant data(const QModelIndex& i, int rol) const override {
        if (!i.isValid() || i.row() >= rowCount())
            return {};
        if (rol == Qt::TextAlignmentRole && i.column() >= 1 && i.column() <= 3)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (rol != Qt::DisplayRole && rol != kRolValorExportado)
            return {};
        const int c = columnas_.value(i.column(), -1);
        if (c < 0)
            return {};
        // What is stored: a change being saved is not shown until the database has taken it.
        const QVariant v = Rs().FilaGuardada(i.row()).value(c);
        if (i.column() == 4)
            return v.toBool() ? QStringLiteral("Si") : QStringLiteral("No");
        if (rol == kRolValorExportado)
            return v.isValid() ? v : QVariant(QString());
        return Formato::Valor(v);
    }

    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override {
        if (o != Qt::Horizontal || rol != Qt::DisplayRole)
            return QAbstractTableModel::headerData(seccion, o, rol);
        static const char* const titulos[] = {"Descripción", "Precio", "Costo", "Mínimo",
                                              "Desactivado"};
        return seccion >= 0 && seccion < 5 ? QString::fromUtf8(titulos[seccion]) : QVariant();
    }

    // Descriptions of every listed row, for the first-letters search.
    QStringList Descripciones() const {
        QStringList r;
        const int c = columnas_.value(0, -1);
        for (int f = 0; f < rowCount(); ++f) {
            const QVariant v = Rs().FilaGuardada(f).value(c);
            r << (v.isNull() ? QString() : v.toString());
        }
        return r;
    }

private:
    QList<int> columnas_;
};

namespace {
VentanaUnica<frmMantProductos>& Unica() {
    static VentanaUnica<frmMantProductos> unica;
    return unica;
}
} // namespace

frmMantProductos* frmMantProductos::Instancia() {
    return Unica().Mostrar([] { return new frmMantProductos; });
}

bool frmMantProductos::Abierta() {
    return Unica().Abierta();
}

frmMantProductos::frmMantProductos(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(frmMantenimiento::Estilo());
    ConstruirControles();
    Pantalla::EnterComoTab(this);

    if (!Rs().Abierto())
        Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos));
    MostrarProductos();
    SetEntrada(false);
}

frmMantProductos::~frmMantProductos() = default;

void frmMantProductos::ConstruirControles() {
    setupUi(this);
    txtFields = {txtFields_0, txtFields_1, txtFields_2, txtFields_3, txtFields_4};
    cmdMenu = {cmdMenu_0, cmdMenu_1, cmdMenu_2, cmdMenu_3,
               cmdMenu_4, cmdMenu_5, cmdMenu_6, cmdMenu_7};

    lblLista->setText(QString::fromUtf8(ProductosCalculos::kTituloLista));
    lblLista->setBackgroundRole(QPalette::Dark);
    lblLista->setForegroundRole(QPalette::BrightText);
    QFont negrita = lblLista->font();
    negrita.setBold(true);
    lblLista->setFont(negrita);

    modelo_ = new ModeloProductos(dtgLista);
    dtgLista->setModel(modelo_);
    dtgLista->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    dtgLista->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    dtgLista->setAccessibleName(lblLista->text());
    dtgLista->installEventFilter(this);
    AgregarExportarLista(dtgLista, windowTitle());
    connect(
        dtgLista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& actual) { FilaCambiada(actual.isValid() ? actual.row() : -1); });

    static const int largos[] = {20, 50, 50, 50, 50};
    for (int i = 0; i < 5; ++i)
        LimitarCaracteres(txtFields[i], largos[i]);
    cmdCategorias->setIcon(Iconos::De(QStringLiteral("agregar")));
    connect(cmdCategorias, &QToolButton::clicked, this, [this] { AbrirCategorias(); });
    for (QComboBox* c : {dtcMonedas, dtcUnidades}) {
        LimitarCaracteres(c->lineEdit(), 50);
        Sugerencias::Ofrecer(c);
    }
    for (QLabel* l : {lblPorcentual, lblAbsoluto})
        l->setMinimumWidth(Pantalla::Twips(1200, this));

    for (int i = 0; i < 8; ++i) {
        cmdMenu[i]->setIcon(frmMantenimiento::IconoBoton(static_cast<AccionMant>(i)));
        connect(cmdMenu[i], &QPushButton::clicked, this, [this, i] { cmdMenu_Click(i); });
    }
    resize(Pantalla::Twips(11400, this), Pantalla::Twips(8400, this));
}

void frmMantProductos::SetEntrada(bool entrada) {
    entrada_ = entrada;
    for (int i : {0, 1, 3, 4, 5})
        cmdMenu[i]->setEnabled(!entrada);
    cmdMenu[2]->setEnabled(entrada);
    cmdMenu[6]->setEnabled(entrada);
    for (QLineEdit* t : txtFields) {
        t->setReadOnly(!entrada);
        t->style()->unpolish(t);
        t->style()->polish(t);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{dtcCategorias, dtcMonedas, dtcUnidades,
                                                      chkSinVencimiento, chkDesactivado})
        w->setEnabled(entrada);
}

void frmMantProductos::VaciarCampos(bool sinVencimiento) {
    for (QLineEdit* t : txtFields)
        t->clear();
    dtcCategorias->setCurrentIndex(-1);
    dtcMonedas->setCurrentText(QString());
    dtcUnidades->setCurrentText(QString());
    chkSinVencimiento->setChecked(sinVencimiento);
    chkDesactivado->setChecked(false);
    lblPorcentual->setText(QStringLiteral("0"));
    lblAbsoluto->setText(QStringLiteral("0"));
}

// The controls are copied from the record rather than bound to it, so that what a person types
// reaches the record only through "Guardar" and its checks.
void frmMantProductos::MostrarRegistro() {
    const RecordsetEditable& rs = Rs();
    if (rs.AbsolutePosition() <= 0) {
        // Nothing current (an empty search, or past the last product): stale values left in
        // the fields would be saved as a copy of a product the list no longer shows.
        VaciarCampos(false);
        instantanea_ = Instantanea();
        return;
    }
    static const char* const columnas[] = {"ProCodigo", "ProDescripcion", "ProPrecio", "ProCosto",
                                           "ProMinimo"};
    for (int i = 0; i < 5; ++i)
        txtFields[i]->setText(Formato::Valor(rs.Campo(QLatin1String(columnas[i]))));
    const QVariant cat = rs.Campo(QStringLiteral("CatId"));
    dtcCategorias->setCurrentIndex(cat.isValid() ? dtcCategorias->findData(cat.toInt()) : -1);
    dtcMonedas->setCurrentText(rs.Texto(QStringLiteral("ProMoneda")));
    dtcUnidades->setCurrentText(rs.Texto(QStringLiteral("ProUnidadMedida")));
    chkSinVencimiento->setChecked(rs.Campo(QStringLiteral("ProSinVencimiento")).toBool());
    chkDesactivado->setChecked(rs.Campo(QStringLiteral("ProDesactivado")).toBool());
    instantanea_ = Instantanea();
}

void frmMantProductos::MostrarMargen() {
    const RecordsetEditable& rs = Rs();
    if (rs.AbsolutePosition() <= 0)
        return;
    const auto m = ProductosCalculos::CalcularMargen(rs.Campo(QStringLiteral("ProPrecio")),
                                                     rs.Campo(QStringLiteral("ProCosto")));
    lblPorcentual->setText(m.porcentual);
    lblAbsoluto->setText(m.absoluto);
}

// Puts the list's highlighted row where the record set stands (none while a new product is
// being entered or after a search that found nothing).
void frmMantProductos::SincronizarLista() {
    sincronizando_ = true;
    const int fila = Rs().AbsolutePosition() - 1;
    if (fila >= 0 && fila < modelo_->rowCount()) {
        const QModelIndex i = modelo_->index(fila, 0);
        dtgLista->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                                           QItemSelectionModel::Rows);
        dtgLista->scrollTo(i);
    } else {
        dtgLista->selectionModel()->clearSelection();
        dtgLista->selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    sincronizando_ = false;
}

void frmMantProductos::FilaCambiada(int fila) {
    if (sincronizando_ || fila < 0)
        return;
    Rs().SetAbsolutePosition(fila + 1);
    MostrarRegistro();
    MostrarMargen();
}

void frmMantProductos::Actualizar(const QString& sql) {
    Dte().SetComandoSql(QString::fromLatin1(dteQuimbel::kCProductos), sql);
    Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos));
    MostrarProductos();
}

void frmMantProductos::MostrarProductos() {
    modelo_->Refrescar();
    SincronizarLista();
    MostrarRegistro();
    MostrarMargen();
    ActualizarCombos();
}

void frmMantProductos::ActualizarCombos() {
    // Rebuilding the lists never changes what the controls show: an entry keeps its choices.
    const RecordsetEditable& rs = Rs();
    const bool delRegistro = !entrada_ && rs.AbsolutePosition() > 0;
    const QVariant categoria =
        delRegistro ? rs.Campo(QStringLiteral("CatId")) : dtcCategorias->currentData();
    const QString moneda =
        delRegistro ? rs.Texto(QStringLiteral("ProMoneda")) : dtcMonedas->currentText();
    const QString unidad =
        delRegistro ? rs.Texto(QStringLiteral("ProUnidadMedida")) : dtcUnidades->currentText();

    dtcCategorias->clear();
    Dte().SetComandoSql(QString::fromLatin1(dteQuimbel::kCCategoriasActivas),
                        QString::fromLatin1(kSqlCategorias));
    if (Dte().Abrir(QString::fromLatin1(dteQuimbel::kCCategoriasActivas))) {
        Recordset& cats = Dte().rsCCategoriasActivas();
        for (cats.MoveFirst(); !cats.Eof(); cats.MoveNext())
            dtcCategorias->addItem(cats.Texto(QStringLiteral("CatDescripcion")),
                                   cats.Campo(QStringLiteral("CatId")).toInt());
    }
    dtcCategorias->setCurrentIndex(categoria.isValid() ? dtcCategorias->findData(categoria.toInt())
                                                       : -1);

    auto llenar = [](QComboBox* combo, const char* comando, Recordset& rs, const QString& valor) {
        combo->clear();
        if (Dte().Abrir(QString::fromLatin1(comando)))
            for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
                if (!rs.Texto(rs.NombreCampo(0)).isEmpty())
                    combo->addItem(rs.Texto(rs.NombreCampo(0)));
        combo->setCurrentIndex(-1);
        combo->setCurrentText(valor);
    };
    llenar(dtcUnidades, dteQuimbel::kUnidadesDeMedida, Dte().rsUnidadesDeMedida(), unidad);
    llenar(dtcMonedas, dteQuimbel::kMonedas, Dte().rsMonedas(), moneda);
}

QString frmMantProductos::Instantanea() const {
    QStringList v;
    for (QLineEdit* t : txtFields)
        v << t->text();
    v << dtcCategorias->currentData().toString() << dtcMonedas->currentText()
      << dtcUnidades->currentText() << QString::number(chkSinVencimiento->isChecked())
      << QString::number(chkDesactivado->isChecked());
    return v.join(QChar(0x1f));
}

void frmMantProductos::cmdMenu_Click(int index) {
    RecordsetEditable& rs = Rs();
    switch (index) {
    case 0: // Nuevo
        if (!rs.Abierto())
            Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos));
        rs.AgregarNuevo({{QStringLiteral("ProDesactivado"), false},
                         {QStringLiteral("ProSinVencimiento"), true}});
        modelo_->Refrescar();
        SincronizarLista();
        VaciarCampos(true);
        SetEntrada(true);
        instantanea_ = Instantanea();
        txtFields[0]->setFocus();
        break;
    case 1: // Editar
        SetEntrada(true);
        instantanea_ = Instantanea();
        txtFields[1]->setFocus();
        break;
    case 2: // Guardar
        if (Guardar()) {
            SetEntrada(false);
            Actualizar(QString::fromLatin1(kSqlTodos));
        }
        break;
    case 3:
        ImprimirProductos();
        break;
    case 4: { // Buscar
        const QString texto = Mensajes::InputBox(QStringLiteral("Ingrese el texto a buscar:"),
                                                 QStringLiteral("Buscar"));
        if (!texto.isEmpty())
            Actualizar(QStringLiteral("SELECT * FROM PRODUCTOS WHERE INSTR(PRODESCRIPCION,'") +
                       SqlTexto(texto.trimmed()) + QStringLiteral("')"));
        break;
    }
    case 5:
        Actualizar(QString::fromLatin1(kSqlTodos));
        break;
    case 6: // Cancelar
        rs.CancelarCambios();
        // Reopening keeps a search a search and stands on its first product.
        SetEntrada(false);
        Actualizar(Dte().ComandoSql(QString::fromLatin1(dteQuimbel::kCProductos)));
        break;
    case 7:
        close();
        break;
    default:
        break;
    }
}

bool frmMantProductos::Guardar() {
    RecordsetEditable& rs = Rs();
    if (txtFields[1]->text().trimmed().isEmpty() || dtcCategorias->currentIndex() < 0) {
        Mensajes::MsgBox(
            QStringLiteral("Debe ingresar la descripción del producto y la categoría"));
        return false;
    }
    struct Numero {
        QLineEdit* control;
        const char* columna;
        const char* nombre;
        QVariant valor;
    };
    Numero numeros[] = {{txtFields[2], "ProPrecio", "Precio", {}},
                        {txtFields[3], "ProCosto", "Costo", {}},
                        {txtFields[4], "ProMinimo", "Stock Mínimo", {}}};
    QStringList malos;
    QLineEdit* primero = nullptr;
    for (Numero& n : numeros) {
        double v = 0;
        if (n.control->text().trimmed().isEmpty()) {
            n.valor = QVariant(QMetaType(QMetaType::Double));
        } else if (Formato::LeerNumero(n.control->text(), &v)) {
            n.valor = v;
        } else {
            malos << QString::fromUtf8(n.nombre);
            if (!primero)
                primero = n.control;
        }
    }
    if (!malos.isEmpty()) {
        Mensajes::MsgBox(QStringLiteral("Debe ingresar un número en: ") +
                             malos.join(QStringLiteral(", ")) + QLatin1Char('.'),
                         Mensajes::Botones::OK, Mensajes::Icono::Exclamacion);
        primero->setFocus();
        primero->selectAll();
        return false;
    }

    if (!rs.Abierto() && !Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos)))
        return false;
    // The product and its history line are written together or not at all.
    Transaccion t;
    if (!t.Activa())
        return false;
    const QString tabla = QStringLiteral("productos");
    const QString columnaClave = QStringLiteral("ProId");
    Historial::Registro antes;
    if (rs.AbsolutePosition() > 0 && !rs.EsNuevo() &&
        !Historial::Leer(tabla, columnaClave, rs.Campo(columnaClave), &antes))
        return false;
    const auto registrar = [&](const QVariant& clave) {
        Historial::Registro despues;
        return Historial::Leer(tabla, columnaClave, clave, &despues) &&
               Historial::RegistrarRegistro(gLogin, tabla, columnaClave, antes, despues);
    };
    if (rs.AbsolutePosition() <= 0)
        rs.AgregarNuevo();
    rs.SetCampo(QStringLiteral("ProCodigo"), txtFields[0]->text());
    rs.SetCampo(QStringLiteral("ProDescripcion"), txtFields[1]->text());
    rs.SetCampo(QStringLiteral("CatId"), dtcCategorias->currentData().toInt());
    for (const Numero& n : numeros)
        rs.SetCampo(QLatin1String(n.columna), n.valor);
    rs.SetCampo(QStringLiteral("ProMoneda"), dtcMonedas->currentText());
    rs.SetCampo(QStringLiteral("ProUnidadMedida"), dtcUnidades->currentText());
    rs.SetCampo(QStringLiteral("ProSinVencimiento"), chkSinVencimiento->isChecked());
    rs.SetCampo(QStringLiteral("ProDesactivado"), chkDesactivado->isChecked());
    if (!rs.Grabar(registrar) || !t.Confirmar()) {
        // A product already in the list must not show values that were never stored.
        if (!rs.EsNuevo()) {
            rs.CancelarCambios();
            // The list may have been drawn while the error was shown.
            modelo_->Refrescar();
            SincronizarLista();
        }
        Mensajes::MsgBox(QStringLiteral("El producto no se guardó. Los datos ingresados siguen en "
                                        "pantalla para corregirlos o cancelarlos."),
                         Mensajes::Botones::OK, Mensajes::Icono::Exclamacion);
        return false;
    }
    return true;
}

void frmMantProductos::IngresarNuevo() {
    Pantalla::TraerAlFrente(this);
    if (entrada_ && Instantanea() != instantanea_) {
        if (Mensajes::MsgBox(QStringLiteral("Hay un producto sin guardar. ¿Desea descartarlo para "
                                            "ingresar un producto nuevo?"),
                             Mensajes::Botones::SiNo,
                             Mensajes::Icono::Pregunta) != Mensajes::Respuesta::Si)
            return;
    }
    cmdMenu_Click(0);
}

void frmMantProductos::AbrirCategorias() {
    frmMantCategorias::AbrirModal(this);
    // Activation may come before the categories window is gone; the list must offer its news.
    ActualizarCombos();
}

void frmMantProductos::ImprimirProductos() {
    MostrarInforme(dtrProductos(),
                   QStringLiteral("select * from productos order by ProDescripcion ASC"), true,
                   this);
}

void frmMantProductos::TeclaEnLista(const QString& texto, bool retroceso) {
    RecordsetEditable& rs = Rs();
    if (rs.AbsolutePosition() <= 0)
        return;
    if (retroceso) {
        busqueda_.clear();
        rs.MoveFirst();
    } else {
        busqueda_ += texto;
        const int fila = ProductosCalculos::BuscarDesde(modelo_->Descripciones(),
                                                        rs.AbsolutePosition() - 1, busqueda_);
        if (fila >= 0) {
            rs.SetAbsolutePosition(fila + 1);
        } else {
            rs.MoveLast();
            rs.MoveNext();
        }
    }
    lblLista->setText(ProductosCalculos::TituloBusqueda(busqueda_));
    SincronizarLista();
    MostrarRegistro();
    MostrarMargen();
}

bool frmMantProductos::eventFilter(QObject* obj, QEvent* ev) {
    if (obj == dtgLista && ev->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(ev);
        if (k->key() == Qt::Key_Backspace) {
            TeclaEnLista(QString(), true);
            return true;
        }
        const QString t = k->text();
        if (!t.isEmpty() && t.at(0).isPrint() &&
            !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            TeclaEnLista(t, false);
            return true;
        }
    }
    return QWidget::eventFilter(obj, ev);
}

void frmMantProductos::changeEvent(QEvent* ev) {
    QWidget::changeEvent(ev);
    if (ev->type() == QEvent::ActivationChange && isActiveWindow())
        ActualizarCombos();
}

void frmMantProductos::closeEvent(QCloseEvent* ev) {
    Rs().CancelarCambios();
    Dte().RestaurarComandos();
    Dte().CerrarTodo();
    ev->accept();
}
