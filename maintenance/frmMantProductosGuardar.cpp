#include "frmMantProductos.h"

#include "Versiones.h"

#include "Conexiones.h"
#include "Formato.h"
#include "Historial.h"
#include "Mensajes.h"
#include "Usuario.h"
#include "Versiones.h"
#include "dteQuimbel.h"

#include "ui_frmMantProductos.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <span>

namespace {

struct Numero {
    QLineEdit* control;
    const char* columna;
    const char* nombre;
    QVariant valor;
};

// An empty box stands for no number; a box holding anything else but a number is named to the
// person, and the first such box takes the focus.
bool LeerNumeros(std::span<Numero> numeros) {
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
    return true;
}

} // namespace

bool frmMantProductos::GuardarRegistro() {
    cambiadoPorOtro_ = false;
    RecordsetEditable& rs = Rs();
    if (txtFields(1)->text().trimmed().isEmpty() || ui->dtcCategorias->currentIndex() < 0) {
        Mensajes::MsgBox(
            QStringLiteral("Debe ingresar la descripción del producto y la categoría"));
        return false;
    }
    Numero numeros[] = {{txtFields(2), "ProPrecio", "Precio", {}},
                        {txtFields(3), "ProCosto", "Costo", {}},
                        {txtFields(4), "ProMinimo", "Stock Mínimo", {}}};
    if (!LeerNumeros(numeros))
        return false;

    if (!rs.Abierto() && !Dte().Abrir(QString::fromLatin1(dteQuimbel::kCProductos)))
        return false;
    // The product and its history line are written together or not at all.
    Transaccion t;
    if (!t.Activa())
        return false;
    const QString tabla = QStringLiteral("productos");
    const QString columnaClave = QStringLiteral("ProId");
    Historial::Registro antes;
    if (rs.AbsolutePosition() > 0 && !rs.EsNuevo()) {
        if (!Versiones::LeerParaModificar(tabla, columnaClave, rs.Campo(columnaClave).toInt(),
                                          &antes))
            return false;
        // The product as the list read it, pending changes left out.
        const Recordset& leidas = rs.Guardadas();
        cambiadoPorOtro_ = !Versiones::Iguales(
            {leidas.NombresCampos(), {}, leidas.Fila(leidas.AbsolutePosition() - 1)}, antes);
        if (cambiadoPorOtro_)
            return false;
    }
    const auto registrar = [&](const QVariant& clave) {
        return Historial::RegistrarFila(gLogin, tabla, columnaClave, clave, antes);
    };
    if (rs.AbsolutePosition() <= 0 && !rs.AgregarNuevo()) {
        AvisarNoGuardado();
        return false;
    }
    rs.SetCampo(QStringLiteral("ProCodigo"), txtFields(0)->text());
    rs.SetCampo(QStringLiteral("ProDescripcion"), txtFields(1)->text());
    rs.SetCampo(QStringLiteral("CatId"), ui->dtcCategorias->currentData().toInt());
    for (const Numero& n : numeros)
        rs.SetCampo(QLatin1String(n.columna), n.valor);
    rs.SetCampo(QStringLiteral("ProMoneda"), ui->dtcMonedas->currentText());
    rs.SetCampo(QStringLiteral("ProUnidadMedida"), ui->dtcUnidades->currentText());
    rs.SetCampo(QStringLiteral("ProSinVencimiento"), ui->chkSinVencimiento->isChecked());
    rs.SetCampo(QStringLiteral("ProDesactivado"), ui->chkDesactivado->isChecked());
    if (!rs.Grabar(registrar) || !t.Confirmar()) {
        AvisarNoGuardado();
        return false;
    }
    return true;
}

void frmMantProductos::AvisarNoGuardado() {
    RecordsetEditable& rs = Rs();
    // A product already in the list must not show values that were never stored.
    if (!rs.EsNuevo()) {
        rs.CancelarCambios();
        // The list may have been drawn while the error was shown.
        Modelo()->Asignar(rs);
        SincronizarLista();
    }
    Mensajes::MsgBox(QStringLiteral("El producto no se guardó. Los datos ingresados siguen en "
                                    "pantalla para corregirlos o cancelarlos."),
                     Mensajes::Botones::OK, Mensajes::Icono::Exclamacion);
}

void frmMantProductos::AvisarCambiadoPorOtro(int clave) {
    Versiones::Cambio cambio;
    static_cast<void>(Versiones::UltimoCambio(QStringLiteral("productos"), clave, &cambio));
    if (Mensajes::MsgBox(Versiones::Autor(cambio) +
                             QStringLiteral(" modificó este producto desde que se mostró; no se "
                                            "guardó nada.\r\n¿Desea volver a cargarlo? Se "
                                            "perderán los cambios que escribió."),
                         Mensajes::Botones::SiNo, Mensajes::Icono::Exclamacion,
                         QStringLiteral("Atención")) == Mensajes::Respuesta::Si)
        Cancelar();
}
