#include "../editor/DatosGuardado.h"
#include "Conexiones.h"
#include "Configuracion.h"
#include "Disenos.h"
#include "Entorno.h"
#include "EstadosOrden.h"
#include "Expediente.h"
#include "Historial.h"
#include "Mensajes.h"
#include "ModeloOrdenes.h"
#include "Ordenes.h"
#include "ProcesoOrdenes.h"
#include "RegistroPruebas.h"
#include "ReglasAprobacion.h"
#include "Reloj.h"
#include "Usuario.h"
#include "Usuarios.h"
#include "VistaPrevia.h"
#include "frmAuditoria.h"
#include "frmHistorial.h"
#include "frmPrincipal.h"
#include "frmProcesar.h"
#include "frmVerificarUsuario.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QTreeView>

using namespace DatosGuardado;
using Mensajes::Respuesta;

namespace {

QDateTime A(int hora, int minuto) {
    return QDateTime(QDate(2026, 3, 4), QTime(hora, minuto));
}

// Saves what is on screen after "Editar", as the person would.
void EditarYGuardar(frmOrden* f, const std::function<void()>& cambios) {
    f->cmdMenu[1]->click();
    cambios();
    f->cmdMenu[2]->click();
}

void Procesar(int id, int desde, int estado) {
    frmProcesar dlg;
    dlg.ids = {QString::number(id)};
    dlg.estadoMostrado = EstadosOrden::Todos().at(desde);
    dlg.show();
    dlg.cboEstado->setCurrentIndex(estado);
    Mensajes::Responder(Respuesta::Si);
    dlg.cmdAceptar->click();
    QVERIFY(dlg.procesado);
}

// The server writes its own clock into the history, which a test cannot set: there, any moment
// of the last ten minutes stands for the one the program's clock was set to.
QString Momento(const QString& visto, const QString& formato, const QDateTime& fijado) {
    const QDateTime t = QDateTime::fromString(visto, formato);
    if (!Entorno::EnServidor() || !t.isValid() ||
        qAbs(t.secsTo(QDateTime::currentDateTime())) > 600)
        return visto;
    return fijado.toString(formato);
}

QStringList Fila(const QTreeWidgetItem* i, const QDateTime& fijado) {
    return {Momento(i->text(0), QStringLiteral("dd/MM/yyyy HH:mm:ss"), fijado), i->text(1),
            i->text(2), i->text(3)};
}

QStringList Hijos(const QTreeWidgetItem* i) {
    QStringList r;
    for (int c = 0; c < i->childCount(); ++c)
        r << i->child(c)->text(3);
    return r;
}

// A new order saved as the editor saves it, at the program's clock.
// Signs in as the login window does. A protected server opens no session for a refused password
// and so the program keeps no line of it (the server's own log has it): there the line is set
// up as the owner, for the auditor to have one, and korva's session goes on.
Usuarios::Ingreso Ingresar(Entorno& e, const QString& login, const QString& clave, int usuId) {
    if (!Entorno::Protegida())
        return Usuarios::ConfirmarIngreso(login, clave);
    switch (AbrirConexionComo(QString::fromLatin1(kOrigenDeDatos), login, clave)) {
    case IngresoServidor::Aceptado:
        return Usuarios::IngresoAceptadoPorServidor(login);
    case IngresoServidor::Rechazado:
        break;
    case IngresoServidor::NoAdmitido:
    case IngresoServidor::Fallo:
        return Usuarios::Ingreso::Fallo;
    }
    e.Entrar(QStringLiteral("korva"));
    const Entorno::ComoDueno dueno;
    Transaccion t;
    return t.Activa() &&
                   Historial::Anotar(
                       login, QStringLiteral("usuarios"), usuId, 0,
                       {{QStringLiteral("Puesto"), QSysInfo::machineHostName()},
                        {QStringLiteral("Motivo"), QStringLiteral("contraseña incorrecta")}},
                       Historial::kIngresoRechazado) &&
                   t.Confirmar()
               ? Usuarios::Ingreso::ClaveIncorrecta
               : Usuarios::Ingreso::Fallo;
}

int Guardar(const Maestros& m, const QString& login) {
    Ordenes::OrdenAGuardar o;
    o.fecha = Reloj::Ahora();
    o.cantidad = 2;
    o.unidad = QStringLiteral("Caja");
    o.productoId = QString::number(m.tuerca);
    o.prioridad = QStringLiteral("Normal");
    o.sectorId = m.sectorCompras;
    o.centroCostoId = m.centroAdmin;
    o.solicitanteId = m.solicitante;
    o.login = login;
    int id = 0;
    return Ordenes::EscribirOrden(id, o, {}) ? id : 0;
}

// A column of the auditor's list, top to bottom.
QStringList Columna(const frmAuditoria* w, int c) {
    QStringList r;
    for (int i = 0; i < w->grdAuditoria->topLevelItemCount(); ++i)
        r << w->grdAuditoria->topLevelItem(i)->text(c);
    return r;
}

void Elegir(QComboBox* c, const QString& valor) {
    const int i = c->findData(valor);
    QVERIFY2(i >= 0, qPrintable(valor));
    c->setCurrentIndex(i);
}

int PaginasPdf(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    return static_cast<int>(pdf.count("/Type /Page") - pdf.count("/Type /Pages"));
}

} // namespace

class PruebaHistorial : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        Cerrar();
        if (frmHistorial::Abierta())
            delete frmHistorial::Abierta();
        // Deleting the main window deletes the windows it owns, which are top-level too: the
        // list is held as guarded pointers.
        QList<QPointer<QWidget>> ventanas;
        for (QWidget* w : QApplication::topLevelWidgets())
            ventanas << w;
        for (const QPointer<QWidget>& w : ventanas)
            if (auto* principal = qobject_cast<frmPrincipal*>(w.data()))
                delete principal;
        Reloj::Fijar(QDateTime());
    }

    // Entered, edited and authorised by its author, moved on by someone else, then deleted: each
    // step is a change of its own, with its login, moment and values, on screen, on paper and in
    // the command-line tool once the order is gone.
    void laVidaDeUnaOrdenQuedaEnSuHistorial() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int beto =
            e.Usuario(QStringLiteral("beto"), QString(), QStringLiteral("Beto Ruiz"), 1, 0, 1);
        Reloj::Fijar(A(10, 30));
        frmOrden* f = Abrir(true);
        Cabecera(f, m, QStringLiteral("4"));
        AgregarPrecio(f, m.acme, QStringLiteral("Sr. Gil"), QStringLiteral("10"), true);
        f->cmdMenu[2]->click();
        const int numero = f->ordid;
        QVERIFY(numero > 0);

        Reloj::Fijar(A(10, 45));
        // A quantity whose digits end in zeros, worded alike by both engines.
        EditarYGuardar(f, [f] { f->txtCantidad->setText(QStringLiteral("12345678901234567890")); });

        Reloj::Fijar(A(11, 0));
        EditarYGuardar(f, [f, &m] {
            f->chkAutorizo->click();
            auto hecho = AlAbrirModal([](QWidget* w) {
                auto* v = qobject_cast<frmVerificarUsuario*>(w);
                QVERIFY(v);
                v->txtPassword->setText(QStringLiteral("x"));
                v->cmdOK->click();
            });
            const int i = f->dtcAutorizantes->findData(QString::number(m.autorizante));
            f->dtcAutorizantes->setCurrentIndex(i);
            emit f->dtcAutorizantes->activated(i);
            QTRY_VERIFY(*hecho);
        });
        QVERIFY(Mensajes::Mostrados().isEmpty());
        Cerrar();

        gLogin = QStringLiteral("beto");
        e.Entrar(gLogin);
        Reloj::Fijar(A(12, 0));
        Procesar(numero, 0, 1);
        Reloj::Fijar(A(13, 0));
        Procesar(numero, 1, 2);

        frmHistorial* h = frmHistorial::Mostrar(numero);
        QCOMPARE(h->windowTitle(),
                 QStringLiteral("Historial de la Orden de Compra Nº %1").arg(numero));
        QTreeWidget* g = h->grdHistorial;
        QCOMPARE(g->topLevelItemCount(), 5);
        const QString julio = QStringLiteral("Julio Mir (%1)").arg(m.autorizante);
        QCOMPARE(Fila(g->topLevelItem(0), A(13, 0)),
                 (QStringList{"04/03/2026 13:00:00", "beto", "Estado",
                              "Estado: En trámite → Cumplida"}));
        QCOMPARE(Fila(g->topLevelItem(1), A(12, 0)).mid(0, 3),
                 (QStringList{"04/03/2026 12:00:00", "beto", "Estado"}));
        QCOMPARE(Hijos(g->topLevelItem(1)),
                 (QStringList{"Estado: Pendiente → En trámite",
                              QStringLiteral("Procesó: (vacío) → Beto Ruiz (%1)").arg(beto)}));
        QCOMPARE(Fila(g->topLevelItem(2), A(11, 0)).mid(0, 3),
                 (QStringList{"04/03/2026 11:00:00", "korva", "Autorización"}));
        QCOMPARE(Hijos(g->topLevelItem(2)),
                 (QStringList{QStringLiteral("Autorizó: (vacío) → ") + julio,
                              "Confirmación: contraseña confirmada el 04/03/2026 11:00:00"}));
        QCOMPARE(Fila(g->topLevelItem(3), A(10, 45)),
                 (QStringList{"04/03/2026 10:45:00", "korva", "Modificación",
                              "Cantidad: 4 → 1,23456789012346E+19"}));
        QCOMPARE(Fila(g->topLevelItem(4), A(10, 30)).mid(0, 3),
                 (QStringList{"04/03/2026 10:30:00", "korva", "Alta"}));
        const QStringList alta = Hijos(g->topLevelItem(4));
        QVERIFY(alta.contains("Cantidad: 4"));
        QVERIFY(alta.contains("Ingresó: korva"));
        QVERIFY(alta.contains(QStringLiteral("Producto: Tuerca 3/8'' zincada (%1)").arg(m.tuerca)));
        QVERIFY2(alta.contains("Precio agregado: Acme: 10 Pesos, Contado, Sr. Gil, del 04/03/2026 "
                               "al 04/03/2026, aceptado"),
                 qPrintable(alta.join('|')));
        // The authoriser is a change of its own, not one more field of the entry.
        QVERIFY(!alta.join(' ').contains("Autorizó"));

        // On paper, the same lines; the dossier holds the order, its quotes and its history.
        QList<Historial::Entrada> entradas;
        QVERIFY(Historial::LeerHistorial(numero, &entradas));
        const QStringList papel =
            InformeMaquetado(dtrHistorial(numero), RegistrosHistorial(entradas),
                             QSize(11906, 16838))
                .Textos(0);
        QVERIFY(
            papel.contains(QStringLiteral("HISTORIAL DE LA ORDEN DE COMPRA Nº %1").arg(numero)));
        QVERIFY(papel.contains("Estado: En trámite → Cumplida"));
        QVERIFY(papel.contains("Cantidad: 4 → 1,23456789012346E+19"));
        QCOMPARE(papel.count("beto"), 2);
        const QString pdf = e.Carpeta() + QStringLiteral("/expediente.pdf");
        QVERIFY(ExportarExpediente(numero, pdf));
        QCOMPARE(PaginasPdf(pdf), 3);
        // The dossier is sealed with the chain's last hash, its order's lines found whole.
        const Historial::Cadena cadena = Historial::ComprobarCadena(numero);
        QVERIFY2(cadena.integra, qPrintable(cadena.descripcion));
        QCOMPARE(cadena.ultimaHuella,
                 e.Valor("SELECT HisHuella FROM historial ORDER BY HisId DESC LIMIT 1").toString());

        // A long history: the dossier is numbered through, and every page names the company,
        // the order, and when and by whom it was printed; the first shows the order's state.
        QList<Historial::Nota> notas;
        for (int i = 1; i <= 60; ++i)
            notas << Historial::Nota{QStringLiteral("Revisión"), QString::number(i)};
        QVERIFY(AnotarRechazos(QStringLiteral("beto"), numero, notas));
        gEmpresa = QStringLiteral("Tolvanex S.A.");
        gLogin = QStringLiteral("auditor");
        QList<InformeMaquetado> partes;
        QVERIFY(MaquetarExpediente(numero, QSize(11906, 16838), &partes));
        QList<QStringList> paginas;
        for (const InformeMaquetado& parte : partes)
            for (int p = 0; p < parte.Paginas(); ++p)
                paginas << parte.Textos(p);
        QVERIFY(paginas.size() >= 5);
        for (int p = 0; p < paginas.size(); ++p) {
            const QStringList& t = paginas[p];
            QVERIFY2(t.contains(QStringLiteral("Página %1 de %2").arg(p + 1).arg(paginas.size())),
                     qPrintable(t.join('|')));
            QCOMPARE(t.count(QStringLiteral("Tolvanex S.A.")), 1);
            QVERIFY(t.contains(QStringLiteral("Orden de Compra Nº %1").arg(numero)));
            QVERIFY(t.contains(QStringLiteral("Impreso el 04/03/2026 13:00 por auditor")));
            // A history page opens with its change's moment and user, even in the middle of one.
            const qsizetype cabecera = t.indexOf(QStringLiteral("Detalle"));
            if (p >= 2 && cabecera >= 0)
                QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} "))
                             .match(t.value(cabecera + 1))
                             .hasMatch(),
                         qPrintable(t.join('|')));
        }
        QVERIFY(paginas[0].contains(QStringLiteral("Cumplida")));
        QVERIFY(ExportarExpediente(numero, pdf));
        QCOMPARE(PaginasPdf(pdf), paginas.size());
        gEmpresa.clear();

        // The main window shows the same history for its highlighted order, then deletes it.
        gLogin = QStringLiteral("korva");
        e.Entrar(gLogin);
        frmPrincipal* w = frmPrincipal::Instancia();
        w->cboEstado->setCurrentIndex(2);
        QCOMPARE(w->Modelo()->rowCount(), 1);
        w->grdLista->setCurrentIndex(w->Modelo()->index(0, ModeloOrdenes::Marca));
        delete frmHistorial::Abierta();
        w->findChild<QAction*>(QStringLiteral("mnuArchivoHistorial"))->trigger();
        QVERIFY(frmHistorial::Abierta());
        // Five changes, and the sixty notes of the long dossier as one more.
        QCOMPARE(frmHistorial::Abierta()->grdHistorial->topLevelItemCount(), 6);
        QTest::keyClick(w->grdLista, Qt::Key_Space);
        Mensajes::Responder(Respuesta::Si);
        w->findChild<QAction*>(QStringLiteral("eliminar"))->trigger();
        QCOMPARE(e.Valor("SELECT count(*) FROM ordenes").toInt(), 0);

        QProcess herramienta;
        herramienta.start(QCoreApplication::applicationDirPath() +
                              QStringLiteral("/../bin/quimbel-db"),
                          {QStringLiteral("historial"), e.RutaBase(), QString::number(numero)});
        QVERIFY(herramienta.waitForFinished(30000));
        QCOMPARE(herramienta.exitCode(), 0);
        const QStringList lineas = QString::fromUtf8(herramienta.readAllStandardOutput())
                                       .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lineas.first().split('\t').mid(1, 3), (QStringList{"Fecha", "Usuario", "Tipo"}));
        const QStringList eliminada = lineas.value(1).split('\t');
        QCOMPARE(eliminada.mid(2, 3),
                 (QStringList{"korva", QStringLiteral("Eliminación"), QStringLiteral("ordenes")}));
        // The quote removed, and no quote accepted any more.
        QCOMPARE(lineas.filter(QStringLiteral("\tEliminación\tprecios\t")).size(), 2);
        QCOMPARE(lineas.filter(QStringLiteral("\tbeto\tEstado\t")).size(), 3);
        const QStringList primera = lineas.last().split('\t');
        QCOMPARE(Momento(primera.value(1), QStringLiteral("yyyy-MM-dd HH:mm:ss"), A(10, 30)),
                 QStringLiteral("2026-03-04 10:30:00"));
        QCOMPARE(primera.mid(2, 2), (QStringList{"korva", "Alta"}));
        // Every change of its life, on either engine, chained without a gap.
        herramienta.start(herramienta.program(), {QStringLiteral("verificar"), e.RutaBase()});
        QVERIFY(herramienta.waitForFinished(30000));
        QVERIFY2(herramienta.exitCode() == 0, herramienta.readAllStandardError().constData());
    }

    // The auditor sees every table's lines and those of a deleted order, narrowed by user and
    // week, by kind, by table and by order number, newest first; the chain's state, a broken row
    // named; the lines shown go to a spreadsheet and to paper.
    void laAuditoriaFiltraTodoElHistorial() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int beto =
            e.Usuario(QStringLiteral("beto"), QStringLiteral("b"), QStringLiteral("Beto"), 1, 0, 1);
        // The server dates its lines itself: there both weeks are today.
        const QDateTime antes(QDate(2026, 3, 4), QTime(9, 0));
        const QDateTime despues(QDate(2026, 3, 12), QTime(9, 0));
        const auto dia = [](const QDateTime& t) {
            return Entorno::EnServidor() ? QDate::currentDate() : t.date();
        };
        Reloj::Fijar(antes);
        QCOMPARE(Ingresar(e, QStringLiteral("beto"), QStringLiteral("x"), beto),
                 Usuarios::Ingreso::ClaveIncorrecta);
        const int a = Guardar(m, QStringLiteral("korva"));
        Reloj::Fijar(despues);
        QCOMPARE(Ingresar(e, QStringLiteral("beto"), QStringLiteral("b"), beto),
                 Usuarios::Ingreso::Aceptado);
        // The login typed otherwise: the same person to the auditor.
        QCOMPARE(Ingresar(e, QStringLiteral("BETO"), QStringLiteral("b"), beto),
                 Usuarios::Ingreso::Aceptado);
        const int b = Guardar(m, QStringLiteral("beto"));
        QVERIFY(a > 0 && b > 0);
        QCOMPARE(ProcesoOrdenes::PasarOrden(b, EstadosOrden::kPendiente, EstadosOrden::kAnulada,
                                            beto, QStringLiteral("beto"))
                     .paso,
                 ProcesoOrdenes::Paso::Hecho);
        QCOMPARE(Ordenes::Eliminar(a, QStringLiteral("beto")).motivo, Ordenes::Eliminacion::Hecha);
        const int lineas = e.Valor(QStringLiteral("SELECT count(*) FROM historial")).toInt();

        frmAuditoria* w = frmAuditoria::Instancia();
        QVERIFY(w->lblCadena->text().startsWith(QStringLiteral("Historial íntegro hasta el ")));
        w->dtpDesde->setDate(dia(antes));
        w->dtpHasta->setDate(dia(despues));
        QCOMPARE(w->grdAuditoria->topLevelItemCount(), lineas);
        QCOMPARE(w->lblLineas->text(), QStringLiteral("%1 líneas").arg(lineas));
        QCOMPARE(Columna(w, 2).first(), QStringLiteral("Eliminación"));
        QCOMPARE(Columna(w, 2).last(), QStringLiteral("Ingreso rechazado"));

        // One user, one week.
        QCOMPARE(w->cboUsuario->findData(QStringLiteral("BETO")), -1);
        Elegir(w->cboUsuario, QStringLiteral("beto"));
        w->dtpDesde->setDate(dia(despues).addDays(-3));
        const QStringList usuarios = Columna(w, 1);
        // A protected server records the login as stored, whatever was typed.
        QVERIFY(Entorno::Protegida() || usuarios.contains(QStringLiteral("BETO")));
        QCOMPARE(usuarios.count(QStringLiteral("beto")) + usuarios.count(QStringLiteral("BETO")),
                 usuarios.size());
        QStringList tipos = Columna(w, 2);
        tipos.removeDuplicates();
        QStringList esperados{QStringLiteral("Eliminación"), QStringLiteral("Estado"),
                              QStringLiteral("Alta"), QStringLiteral("Ingreso")};
        if (Entorno::EnServidor())
            esperados << QStringLiteral("Ingreso rechazado");
        QCOMPARE(tipos, esperados);
        const QStringList detalle = Columna(w, 6);
        QVERIFY(detalle.contains(QStringLiteral("Puesto: ") + QSysInfo::machineHostName()));
        QVERIFY(detalle.contains(QStringLiteral("Estado: Pendiente → Anulada")));

        // A deleted order, whoever wrote its lines: its entry and its deletion.
        Elegir(w->cboUsuario, QString());
        w->dtpDesde->setDate(dia(antes));
        w->txtOrden->setText(QString::number(a));
        emit w->txtOrden->editingFinished();
        QVERIFY(Columna(w, 5).count(QString::number(a)) == Columna(w, 5).size());
        QCOMPARE(Columna(w, 1).first(), QStringLiteral("beto"));
        QCOMPARE(Columna(w, 1).last(), QStringLiteral("korva"));
        QVERIFY(Columna(w, 2).contains(QStringLiteral("Alta")));

        // Kind and table: the refused sign-in and why.
        w->txtOrden->clear();
        emit w->txtOrden->editingFinished();
        Elegir(w->cboTabla, QStringLiteral("usuarios"));
        Elegir(w->cboTipo, QStringLiteral("Ingreso rechazado"));
        QCOMPARE(Columna(w, 6),
                 (QStringList{QStringLiteral("Puesto: ") + QSysInfo::machineHostName(),
                              QStringLiteral("Motivo: contraseña incorrecta")}));
        QCOMPARE(Columna(w, 4), (QStringList{QString::number(beto), QString::number(beto)}));

        // To a spreadsheet and to paper, the lines shown.
        const QString csv = e.Carpeta() + QStringLiteral("/auditoria.csv");
        Mensajes::ResponderTexto(csv);
        w->cmdExportar->click();
        QFile archivo(csv);
        QVERIFY(archivo.open(QIODevice::ReadOnly));
        const QStringList filas =
            QString::fromUtf8(archivo.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(filas.size(), 3);
        QVERIFY(filas.value(2).contains(QStringLiteral(";Motivo: contraseña incorrecta;Motivo;;")));
        QVERIFY(!filas.join(' ').contains(QStringLiteral(";x;")));
        LimpiarInformesMostrados();
        w->cmdImprimir->click();
        const InformeMostrado informe = InformesMostrados().value(0);
        QCOMPARE(informe.nombre, QStringLiteral("dtrAuditoria"));
        QCOMPARE(informe.registros, 2);
        QVERIFY(informe.textosPrimeraPagina.contains(
            QStringLiteral("Del %1 al %2, cambio Ingreso rechazado, tabla usuarios")
                .arg(dia(antes).toString(QStringLiteral("dd/MM/yyyy")),
                     dia(despues).toString(QStringLiteral("dd/MM/yyyy")))));

        // A line rewritten behind the program's back is named, in red, on the next reading.
        e.Sql(QLatin1String(Entorno::EnServidor()
                                ? "DROP TRIGGER historial_solo_agregar ON historial"
                                : "DROP TRIGGER historial_sin_modificar"));
        const int alterada = e.Valor(QStringLiteral("SELECT min(HisId) FROM historial WHERE "
                                                    "HisTipo='Ingreso'"))
                                 .toInt();
        e.Sql(QStringLiteral("UPDATE historial SET HisLogin='korva' WHERE HisId=?"), {alterada});
        w->cmdActualizar->click();
        QVERIFY2(w->lblCadena->text().contains(QStringLiteral("fila %1").arg(alterada)),
                 qPrintable(w->lblCadena->text()));
        QVERIFY(w->lblCadena->styleSheet().contains(QStringLiteral("c00000")));
        delete w;
    }

    // Each order moves or goes with its history line, or not at all; the others carry on.
    void sinSuLineaDeHistorialUnaOrdenNoCambiaNiSeBorra() {
        Entorno e;
        const Maestros m = CargarMaestros(e);
        const int a = Orden(e, m, QStringLiteral("korva"));
        const int b = Orden(e, m, QStringLiteral("korva"));
        Precio(e, b, m.acme, 5, true);
        e.Rechazar("sin_historial", "BEFORE INSERT", "historial",
                   QByteArray("NEW.HisOrdId = " + QByteArray::number(b)).constData(),
                   "sin historial");
        frmProcesar dlg;
        dlg.ids = {QString::number(a), QString::number(b)};
        dlg.estadoMostrado = EstadosOrden::kPendiente;
        dlg.show();
        dlg.cboEstado->setCurrentIndex(3);
        Mensajes::Responder(Respuesta::Si);
        dlg.cmdAceptar->click();
        QVERIFY(Mensajes::UltimoTexto().startsWith(QStringLiteral("Error número: ")));
        QCOMPARE(e.Valor("SELECT OrdEstado FROM ordenes WHERE OrdId=?", {a}).toString(),
                 QStringLiteral("Anulada"));
        QCOMPARE(e.Valor("SELECT OrdEstado FROM ordenes WHERE OrdId=?", {b}).toString(),
                 QStringLiteral("Pendiente"));
        QCOMPARE(e.Valor("SELECT ProcesadoId FROM ordenes WHERE OrdId=?", {b}).toInt(), 0);

        frmPrincipal* w = frmPrincipal::Instancia();
        w->cboEstado->setCurrentIndex(0);
        w->grdLista->setCurrentIndex(w->Modelo()->index(0, ModeloOrdenes::Marca));
        QTest::keyClick(w->grdLista, Qt::Key_Space);
        Mensajes::Responder(Respuesta::Si);
        w->findChild<QAction*>(QStringLiteral("eliminar"))->trigger();
        QCOMPARE(e.Valor("SELECT count(*) FROM ordenes WHERE OrdId=?", {b}).toInt(), 1);
        QCOMPARE(e.Valor("SELECT count(*) FROM precios WHERE OrdId=?", {b}).toInt(), 1);
        QCOMPARE(e.Valor("SELECT count(*) FROM historial WHERE HisOrdId=?", {b}).toInt(), 0);
    }
};

QUIMBEL_PRUEBA(PruebaHistorial)
#include "PruebaHistorial.moc"
