#include "Demo.h"

#include "Conexiones.h"
#include "Contrasena.h"
#include "Historial.h"
#include "Reloj.h"

#include <QRandomGenerator>

namespace {

struct Fallo {};

QVariant Ejecutar(const char* comando, const QVariantList& valores) {
    Recordset rs;
    if (!EjecutarComando(QString::fromLatin1(comando), rs, valores))
        throw Fallo{};
    return rs.AbsolutePosition() > 0 ? rs.Campo(0) : QVariant();
}

void Sql(const QString& sql, const QVariantList& valores = {}) {
    Recordset rs;
    if (!AbrirRecordset(sql, rs, valores))
        throw Fallo{};
}

void Exigir(bool ok) {
    if (!ok)
        throw Fallo{};
}

// The demo's orders go through the program's own recording, each step at the moment it is
// said to have happened: the file's history takes the program's clock, which is put back
// afterwards. (A server writes its own clock.)
class Pasado {
public:
    explicit Pasado(const QDateTime& ahora) : ahora_(ahora), antes_(Reloj::Fijado()) {}
    ~Pasado() { Reloj::Fijar(antes_); }
    Pasado(const Pasado&) = delete;
    Pasado& operator=(const Pasado&) = delete;

    // `segundos` after `desde`, but no later than halfway from there to now, so that every
    // step of an order's life comes after the one before and none lies in the future.
    QDateTime Despues(const QDateTime& desde, qint64 segundos) const {
        return desde.addSecs(std::min(segundos, desde.secsTo(ahora_) / 2));
    }

    // The new order with its quotes, as entered by `login`.
    void Alta(int id, const QString& login, const QDateTime& momento) const {
        Reloj::Fijar(momento);
        Exigir(Historial::RegistrarOrden(login, id, {}, Leer(id)));
    }

    // The authoriser, signed in, confirms with their password that they authorise it.
    void Autorizar(int id, int autorizante, const QString& login, const QDateTime& momento) const {
        Reloj::Fijar(momento);
        const Historial::Orden antes = Leer(id);
        Sql(QStringLiteral("UPDATE ordenes SET AutorizanteId = ? WHERE OrdId = ?"),
            {autorizante, id});
        Exigir(Historial::RegistrarOrden(login, id, antes, Leer(id), momento));
    }

    // A change of state as the processing window makes it.
    void Pasar(int id, const QString& estado, int usuId, const QString& login,
               const QDateTime& momento) const {
        Reloj::Fijar(momento);
        const QString ordenes = QStringLiteral("ordenes");
        const QString clave = QStringLiteral("OrdId");
        Historial::Registro antes;
        Historial::Registro despues;
        Exigir(Historial::Leer(ordenes, clave, id, &antes));
        Sql(QStringLiteral("UPDATE ordenes SET OrdEstado = ?, ProcesadoId = ? WHERE OrdId = ?"),
            {estado, usuId, id});
        Exigir(Historial::Leer(ordenes, clave, id, &despues) &&
               Historial::RegistrarRegistro(login, ordenes, clave, antes, despues,
                                            Historial::kEstado, id));
    }

private:
    static Historial::Orden Leer(int id) {
        Historial::Orden o;
        Exigir(Historial::LeerOrden(id, &o));
        return o;
    }

    QDateTime ahora_;
    QDateTime antes_;
};

// The life of the demo's order `i` after it was entered by `login` at `fecha`: authorised by one
// of the authorisers in turn, then taken to `estado` by cgomez, a step at a time, as people do.
void Vida(const Pasado& pasado, int i, int id, std::string_view estado, bool autorizada,
          const QString& login, const QDateTime& fecha) {
    // Users 2 zelti, 5 aruiz, 6 cgomez.
    const struct {
        int id;
        const char* login;
    } autorizantes[] = {{5, "aruiz"}, {6, "cgomez"}, {2, "zelti"}};
    const int procesador = 6;
    const QString loginProcesador = QStringLiteral("cgomez");
    pasado.Alta(id, login, fecha);
    QDateTime momento = fecha;
    if (autorizada) {
        momento = pasado.Despues(momento, 3600 * (1 + i % 5) + 420 * (i % 7));
        pasado.Autorizar(id, autorizantes[i % 3].id, QString::fromLatin1(autorizantes[i % 3].login),
                         momento);
    }
    const QString destino = QString::fromUtf8(estado.data(), estado.size());
    if (estado == "Anulada") {
        momento = pasado.Despues(momento, 86400 * (1 + i % 4));
        pasado.Pasar(id, destino, procesador, loginProcesador, momento);
        return;
    }
    if (estado == "Pendiente")
        return;
    momento = pasado.Despues(momento, 86400 * (1 + i % 3) + 1800 * (i % 5));
    pasado.Pasar(id, QStringLiteral("En trámite"), procesador, loginProcesador, momento);
    if (estado == "Cumplida") {
        momento = pasado.Despues(momento, 86400 * (2 + i % 4) + 2700 * (i % 3));
        pasado.Pasar(id, destino, procesador, loginProcesador, momento);
    }
}

struct DemoUsuario {
    const char* login;
    const char* clave;
    const char* nombre;
    int solicitar, autorizar, cumplir, desactivado;
};

const DemoUsuario kUsuarios[] = {
    {"zelti", "zelti", "Zelti Administración", 1, 1, 1, 0},
    {"mlopez", "marta", "Marta López", 1, 0, 0, 0},
    {"jperez", "juan", "Juan Pérez", 1, 0, 0, 0},
    {"aruiz", "ana123", "Ana Ruiz", 0, 1, 0, 0},
    {"cgomez", "carlos", "Carlos Gómez", 1, 1, 1, 0},
    {"lfernandez", "lucia", "Lucía Fernández", 1, 0, 1, 0},
    {"rsosa", "ramon", "Ramón Sosa", 1, 0, 0, 1},
};

} // namespace

QStringList CargarDatosDeDemostracion() {
    QStringList salida;
    QRandomGenerator azar(20261207);
    try {
        Transaccion t;
        for (const char* s :
             {"Administración", "Compras", "Mantenimiento", "Producción", "Depósito"})
            Ejecutar("sector_insertar", {QString::fromUtf8(s)});
        for (const char* c :
             {"Gastos generales", "Planta 1", "Planta 2", "Oficinas centrales", "Logística"})
            Ejecutar("centrodecosto_insertar", {QString::fromUtf8(c)});
        for (const char* c : {"Ferretería", "Papelería", "Limpieza", "Electricidad", "Informática",
                              "Repuestos discontinuados"})
            Ejecutar("categoria_insertar", {QString::fromUtf8(c)});
        Sql(QStringLiteral("UPDATE categorias SET CatDesactivada = 1 WHERE CatId = 6"));

        struct P {
            const char* d;
            int cat;
            const char* unidad;
            double costo, precio;
        };
        const P productos[] = {
            {"Tornillo autorroscante 8x1\"", 1, "Caja x 100", 120, 150},
            {"Tuerca 3/8'' zincada", 1, "Caja x 50", 80, 104},
            {"Arandela plana 1/4", 1, "Caja x 100", 40, 52},
            {"Taladro percutor 13 mm", 1, "Unidad", 5200, 6500},
            {"Martillo carpintero", 1, "Unidad", 900, 1150},
            {"Cinta métrica 5 m", 1, "Unidad", 350, 460},
            {"Papel A4 75 g", 2, "Resma", 610, 780},
            {"Bolígrafo azul", 2, "Caja x 50", 700, 910},
            {"Carpeta colgante", 2, "Paquete x 25", 480, 600},
            {"Abrochadora de escritorio", 2, "Unidad", 380, 499},
            {"Resaltador amarillo", 2, "Caja x 12", 300, 390},
            {"Sobres manila A4", 2, "Paquete x 50", 260, 330},
            {"Lavandina concentrada", 3, "Bidón 5 l", 420, 540},
            {"Detergente industrial", 3, "Bidón 5 l", 780, 990},
            {"Trapo de piso", 3, "Unidad", 95, 130},
            {"Bolsas de residuo 60x90", 3, "Rollo x 30", 210, 280},
            {"Guantes de látex", 3, "Caja x 100", 650, 840},
            {"Cable unipolar 2,5 mm²", 4, "Rollo 100 m", 4100, 5250},
            {"Interruptor termomagnético 2x20A", 4, "Unidad", 2300, 2990},
            {"Lámpara LED 12 W", 4, "Unidad", 310, 420},
            {"Tomacorriente doble", 4, "Unidad", 270, 350},
            {"Cinta aisladora", 4, "Unidad", 60, 85},
            {"Monitor 24 pulgadas", 5, "Unidad", 98000, 121000},
            {"Teclado USB", 5, "Unidad", 5400, 6900},
            {"Mouse óptico", 5, "Unidad", 2600, 3300},
            {"Disco SSD 480 GB", 5, "Unidad", 21000, 26500},
            {"Cartucho de tóner negro", 5, "Unidad", 14500, 18200},
            {"Cable de red Cat 6", 5, "Rollo 305 m", 52000, 64000},
            {"Rodamiento 6204", 6, "Unidad", 850, 1100},
            {"Correa en V A-42", 6, "Unidad", 1250, 1590},
        };
        int n = 0;
        for (const P& p : productos) {
            ++n;
            Sql(QStringLiteral("INSERT INTO productos (ProDescripcion, ProCodigo, CatId, "
                               "ProUnidadMedida, ProMoneda, ProCosto, ProPrecio, ProMinimo, "
                               "ProSinVencimiento, ProDesactivado) VALUES (?,?,?,?,?,?,?,?,?,?)"),
                {QString::fromUtf8(p.d), QStringLiteral("779%1").arg(100000 + n * 7919), p.cat,
                 QString::fromUtf8(p.unidad), QStringLiteral("Pesos"), p.costo, p.precio,
                 double(5 + n % 20), 1, p.cat == 6 ? 1 : 0});
        }

        const char* proveedores[][4] = {
            {"Ferretería El Tornillo", "El Tornillo S.R.L.", "30-71234567-1", "Rosario"},
            {"Distribuidora Norte", "Norte Distribuciones S.A.", "30-70987654-2", "Córdoba"},
            {"Papelera Central", "Papelera Central S.A.", "30-65432198-3", "Buenos Aires"},
            {"Limpiamax", "Limpiamax S.R.L.", "30-71112223-4", "Mendoza"},
            {"Eléctrica Sur", "Eléctrica del Sur S.A.", "30-68889990-5", "Bahía Blanca"},
            {"CompuRed", "CompuRed Sistemas S.A.", "30-71456789-6", "Buenos Aires"},
            {"Rodamientos O'Brien", "O'Brien Hnos. S.H.", "30-69998887-7", "Santa Fe"},
            {"Insumos Pampa", "Insumos Pampa S.A.", "30-70001112-8", "La Plata"},
            {"Todo Oficina", "Todo Oficina S.R.L.", "30-71777666-9", "Rosario"},
            {"Industrias Litoral", "Industrias del Litoral S.A.", "30-66655544-0", "Paraná"},
        };
        int e = 0;
        for (const auto& p : proveedores) {
            ++e;
            Ejecutar("proveedor_insertar",
                     {QString::fromUtf8(p[0]), QString::fromUtf8(p[1]), QString::fromUtf8(p[2]),
                      QStringLiteral("Av. San Martín %1").arg(100 * e + 17),
                      QStringLiteral("%1").arg(2000 + e * 10),
                      QStringLiteral("(0341) 455-%1").arg(1000 + e * 37), QString(), QString(),
                      QStringLiteral("ventas%1@ejemplo.com").arg(e), QString(),
                      QStringLiteral("Centro"), QString::fromUtf8(p[3]), QString(),
                      QStringLiteral("Argentina")});
        }

        salida << QStringLiteral("Usuarios de demostración (login / contraseña):")
               << QStringLiteral("  korva / (vacía)  administrador");
        for (const DemoUsuario& u : kUsuarios) {
            Ejecutar("usuario_insertar",
                     {QString::fromUtf8(u.login), Contrasena::Cifrar(QString::fromUtf8(u.clave)),
                      QString::fromUtf8(u.nombre), u.solicitar, u.autorizar, u.cumplir});
            QStringList derechos;
            if (u.solicitar)
                derechos << QStringLiteral("solicita");
            if (u.autorizar)
                derechos << QStringLiteral("autoriza");
            if (u.cumplir)
                derechos << QStringLiteral("cumple");
            if (u.desactivado)
                derechos << QStringLiteral("desactivado");
            salida << QStringLiteral("  %1 / %2  %3")
                          .arg(QString::fromUtf8(u.login), QString::fromUtf8(u.clave),
                               derechos.join(QStringLiteral(", ")));
        }
        Sql(QStringLiteral("UPDATE usuarios SET UsuDesactivado = 1 WHERE UsuLogin = 'rsosa'"));

        // Users 1 korva, 2 zelti, 3 mlopez, 4 jperez, 5 aruiz, 6 cgomez, 7 lfernandez.
        const int solicitantes[] = {3, 4, 6, 7};
        const char* lugares[] = {"Depósito central", "Planta 1", "Oficinas", "Planta 2"};
        const char* formas[] = {"Contado", "30 días", "Cheque 60 días"};
        const char* contactos[] = {"Sr. Acosta", "Sra. Benítez", "Ventas", "Sr. D'Angelo"};
        const QDateTime ahora = Reloj::Ahora();
        const Pasado pasado(ahora);
        for (int i = 0; i < 60; ++i) {
            const char* estado = i < 30   ? "Pendiente"
                                 : i < 42 ? "En trámite"
                                 : i < 54 ? "Cumplida"
                                          : "Anulada";
            const int dias = static_cast<int>(azar.bounded(45));
            const QDateTime fecha =
                ahora.addDays(-dias).addSecs(-static_cast<int>(azar.bounded(8 * 3600)));
            const bool autorizada = std::string_view(estado) != "Pendiente" || i % 3 == 0;
            const int producto = 1 + static_cast<int>(azar.bounded(28));
            const P& p = productos[producto - 1];
            const QString login = i % 2 ? QStringLiteral("mlopez") : QStringLiteral("korva");
            // Entered unauthorised: the authorisation is a later step of its own.
            const int id =
                Ejecutar("orden_insertar",
                         {fecha, double(1 + azar.bounded(20)), QString::fromUtf8(p.unidad),
                          producto, i % 4 == 0 ? QStringLiteral("Reposición de stock") : QString(),
                          QString::fromUtf8(lugares[i % 4]), i % 7 == 0 ? "Urgente" : "Normal",
                          1 + i % 5, 1 + (i / 2) % 5, solicitantes[i % 4], 0, login})
                    .toInt();
            // An authorised order always has its accepted quote, as the editor requires.
            const int cotizaciones =
                i % 6 == 5 && !autorizada ? 0 : 1 + static_cast<int>(azar.bounded(3));
            const int aceptada = cotizaciones == 0 || (i % 5 == 4 && !autorizada)
                                     ? -1
                                     : static_cast<int>(azar.bounded(cotizaciones));
            for (int q = 0; q < cotizaciones; ++q) {
                const bool dolares = (i + q) % 4 == 3;
                const double base = p.precio * (0.9 + 0.05 * q) / (dolares ? 900.0 : 1.0);
                Ejecutar("precio_Insertar",
                         {id, 1 + static_cast<int>(azar.bounded(10)),
                          QString::fromUtf8(contactos[(i + q) % 4]), std::round(base * 100) / 100,
                          dolares ? QStringLiteral("Dólares") : QStringLiteral("Pesos"),
                          QString::fromUtf8(formas[(i + q) % 3]), fecha.date(),
                          fecha.date().addDays(30), q == aceptada ? 1 : 0});
            }
            Vida(pasado, i, id, estado, autorizada, login, fecha);
        }
        if (!t.Confirmar())
            return {};
    } catch (const Fallo&) {
        return {};
    }
    return salida;
}
