#include "EscritorJet.h"

#include "PaginaCodigos.h"

#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <cmath>
#include <cstring>

namespace Jet {

namespace {

// Where the two formats differ.
struct Formato {
    bool jet4;
    int pagina;
    int cuentaFilas;    // the row count of a data page; its row offsets follow
    int inicioColumnas; // the first column entry of a table definition
    int entradaColumna;
    int bitsMapa;     // pages a map kept inside its row can tell, from its first page on
    int entradasMapa; // map pages an indirect map can point to
};

constexpr Formato kJet3{false, 2048, 8, 43, 18, 123 * 8, 32};
constexpr Formato kJet4{true, 4096, 12, 63, 25, 59 * 8, 16};

// The mask the engine puts over 128 bytes of the first page: RC4 with a key fixed in the format.
void Rc4(QByteArray& datos, int desde, int largo) {
    const unsigned char clave[4] = {0xC7, 0xDA, 0x39, 0x6B};
    unsigned char s[256];
    for (int i = 0; i < 256; ++i)
        s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + clave[i % 4]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (int n = 0, i = 0, j = 0; n < largo; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        datos[desde + n] = static_cast<char>(datos[desde + n] ^ s[(s[i] + s[j]) & 0xff]);
    }
}

void Poner16(QByteArray& b, int pos, quint32 v) {
    qToLittleEndian<quint16>(static_cast<quint16>(v), b.data() + pos);
}
void Poner32(QByteArray& b, int pos, quint32 v) {
    qToLittleEndian<quint32>(v, b.data() + pos);
}
quint16 Leer16(const QByteArray& b, int pos) {
    return qFromLittleEndian<quint16>(b.constData() + pos);
}
QByteArray Bytes16(quint32 v) {
    QByteArray b(2, 0);
    Poner16(b, 0, v);
    return b;
}
QByteArray Bytes32(quint32 v) {
    QByteArray b(4, 0);
    Poner32(b, 0, v);
    return b;
}
QByteArray Bytes64(quint64 v) {
    QByteArray b(8, 0);
    qToLittleEndian<quint64>(v, b.data());
    return b;
}
QByteArray BytesDoble(double d) {
    quint64 bits;
    std::memcpy(&bits, &d, sizeof bits);
    return Bytes64(bits);
}

// Days since 30 December 1899 with the time as the fraction; before that day the fraction
// still counts forward from midnight.
double DiaJet(const QDateTime& m) {
    const qint64 dias = QDate(1899, 12, 30).daysTo(m.date());
    const double fraccion = m.time().msecsSinceStartOfDay() / 86400000.0;
    return dias >= 0 ? double(dias) + fraccion : double(dias) - fraccion;
}

int Tamano(Tipo t) {
    switch (t) {
    case Tipo::SiNo:
        return 0;
    case Tipo::Entero:
        return 2;
    case Tipo::Largo:
        return 4;
    case Tipo::Moneda:
    case Tipo::Doble:
    case Tipo::Fecha:
        return 8;
    default:
        return -1; // stored among the variable-length columns
    }
}

bool EsTexto(Tipo t) {
    return t == Tipo::Texto || t == Tipo::Memo;
}

class Escritor {
public:
    Escritor(Version v) : f_(v == Version::Jet4 ? kJet4 : kJet3) {}

    bool Escribir(const QString& ruta, const QList<Tabla>& tablas) {
        Nueva(0x00); // the database definition
        mapas_ = NuevaFilas(0);
        Nueva(0x02); // the catalog's definition, always on page 2
        QList<int> definiciones;
        for (int i = 0; i < tablas.size(); ++i)
            definiciones << Nueva(0x02);
        QList<QList<int>> datos;
        for (int i = 0; i < tablas.size(); ++i) {
            datos << QList<int>();
            if (!Datos(tablas[i], definiciones[i], &datos.last()))
                return false;
        }
        const Tabla catalogo = Catalogo(tablas, definiciones);
        QList<int> datosCatalogo;
        if (!Datos(catalogo, 2, &datosCatalogo))
            return false;
        Definicion(catalogo, 2, datosCatalogo, true);
        for (int i = 0; i < tablas.size(); ++i)
            Definicion(tablas[i], definiciones[i], datos[i], false);
        Cabecera();
        QSaveFile archivo(ruta);
        if (!archivo.open(QIODevice::WriteOnly))
            return Error(QStringLiteral("No se pudo crear %1").arg(ruta));
        for (const QByteArray& p : paginas_)
            archivo.write(p);
        return archivo.commit() || Error(QStringLiteral("No se pudo escribir %1").arg(ruta));
    }

    QString error;

private:
    bool Error(const QString& e) {
        error = e;
        return false;
    }

    int Nueva(char tipo) {
        paginas_.append(QByteArray(f_.pagina, 0));
        paginas_.last()[0] = tipo;
        paginas_.last()[1] = 0x01;
        return int(paginas_.size() - 1);
    }

    // A page that holds rows: of a table (its definition's page), of long values ("LVAL") or of
    // usage maps (0).
    int NuevaFilas(quint32 duena) {
        const int n = Nueva(0x01);
        Poner32(paginas_[n], 4, duena);
        Poner16(paginas_[n], 2, quint32(f_.pagina - f_.cuentaFilas - 2));
        return n;
    }

    int MaximoFila() const { return f_.pagina - f_.cuentaFilas - 4; }

    // Rows are laid from the end of the page backwards; each row's start is in the offset list.
    bool AgregarFila(int pagina, const QByteArray& fila, quint32* puntero) {
        QByteArray& p = paginas_[pagina];
        const int n = Leer16(p, f_.cuentaFilas);
        const int fin = n == 0 ? f_.pagina : Leer16(p, f_.cuentaFilas + 2 * n);
        const int lista = f_.cuentaFilas + 2 + 2 * (n + 1);
        const int inicio = fin - int(fila.size());
        if (n >= 255 || inicio < lista)
            return false;
        std::memcpy(p.data() + inicio, fila.constData(), size_t(fila.size()));
        Poner16(p, f_.cuentaFilas + 2 + 2 * n, quint32(inicio));
        Poner16(p, f_.cuentaFilas, quint32(n + 1));
        Poner16(p, 2, quint32(inicio - lista));
        *puntero = quint32(pagina) << 8 | quint32(n);
        return true;
    }

    // Onto the last page of the list, or a new one of that owner when it is full.
    quint32 Guardar(QList<int>* paginas, quint32 duena, const QByteArray& fila) {
        quint32 puntero = 0;
        if (paginas->isEmpty() || !AgregarFila(paginas->last(), fila, &puntero)) {
            paginas->append(NuevaFilas(duena));
            AgregarFila(paginas->last(), fila, &puntero);
        }
        return puntero;
    }

    bool Texto(const QString& s, QByteArray* bytes) {
        bytes->clear();
        if (!f_.jet4) {
            for (QChar c : s) {
                const int b = PaginaCodigos::AWindows1252(c);
                if (b < 0)
                    return Error(
                        QStringLiteral("«%1» no cabe en la página de códigos 1252").arg(s));
                bytes->append(char(b));
            }
            return true;
        }
        // Compressed: one byte a character, for texts without characters past 0xFF.
        bool comprimible = s.size() > 2;
        for (QChar c : s)
            comprimible = comprimible && c.unicode() > 0 && c.unicode() < 0x100;
        if (comprimible) {
            bytes->append("\xFF\xFE", 2);
            for (QChar c : s)
                bytes->append(char(c.unicode()));
            return true;
        }
        for (QChar c : s)
            bytes->append(Bytes16(c.unicode()));
        return true;
    }

    // The 12 bytes a memo keeps in its row, and the value itself inline or on long-value pages.
    QByteArray Memo(const QByteArray& valor) {
        QByteArray r = Bytes32(quint32(valor.size()));
        if (valor.size() <= 64) {
            r[3] = char(0x80);
            return r + QByteArray(8, 0) + valor;
        }
        if (valor.size() <= MaximoFila()) {
            r[3] = 0x40;
            return r + Bytes32(Guardar(&largos_, 0x4C41564C, valor)) + QByteArray(4, 0);
        }
        // Chained pieces, each starting with the pointer to the next; the last is written first.
        const int pedazo = MaximoFila() - 4;
        quint32 siguiente = 0;
        for (qsizetype desde = (valor.size() - 1) / pedazo * pedazo; desde >= 0; desde -= pedazo)
            siguiente =
                Guardar(&largos_, 0x4C41564C, Bytes32(siguiente) + valor.mid(desde, pedazo));
        return r + Bytes32(siguiente) + QByteArray(4, 0);
    }

    bool Valor(const Columna& c, const QVariant& v, QByteArray* bytes) {
        switch (c.tipo) {
        case Tipo::Entero:
            *bytes = Bytes16(quint32(v.toInt()));
            return v.toInt() >= -32768 && v.toInt() <= 32767;
        case Tipo::Largo:
            *bytes = Bytes32(quint32(v.toLongLong()));
            return v.toLongLong() >= INT32_MIN && v.toLongLong() <= INT32_MAX;
        case Tipo::Moneda:
            *bytes = Bytes64(quint64(std::llround(v.toDouble() * 10000)));
            return true;
        case Tipo::Doble:
            *bytes = BytesDoble(v.toDouble());
            return true;
        case Tipo::Fecha:
            *bytes = BytesDoble(DiaJet(v.toDateTime()));
            return v.toDateTime().isValid();
        case Tipo::Texto:
            return Texto(v.toString(), bytes) && bytes->size() <= (f_.jet4 ? 510 : 255);
        case Tipo::Memo:
            if (!Texto(v.toString(), bytes))
                return false;
            *bytes = Memo(*bytes);
            return true;
        default:
            bytes->clear();
            return true;
        }
    }

    // Fixed columns first at their offsets, then the variable ones, then (from the end) the
    // offsets of the variable ones, their count and the mask of what is not null (a yes/no
    // column keeps its value there).
    bool Fila(const Tabla& t, const QVariantList& valores, QByteArray* fila) {
        const int n = int(t.columnas.size());
        QByteArray fijos, variables, mascara((n + 7) / 8, 0);
        QList<int> desplazamientos;
        const int inicio = f_.jet4 ? 2 : 1;
        for (int i = 0; i < n; ++i) {
            const Columna& c = t.columnas[i];
            const QVariant& v = valores.value(i);
            const bool nulo = !v.isValid() || v.isNull();
            QByteArray bytes;
            if (!nulo && !Valor(c, v, &bytes))
                return Error(error.isEmpty() ? QStringLiteral("El valor «%1» no cabe en %2.%3")
                                                   .arg(v.toString(), t.nombre, c.nombre)
                                             : error);
            const bool marcado = c.tipo == Tipo::SiNo ? !nulo && v.toBool() : !nulo;
            if (marcado)
                mascara[i / 8] = char(mascara[i / 8] | (1 << (i % 8)));
            if (Tamano(c.tipo) >= 0) {
                fijos += nulo ? QByteArray(Tamano(c.tipo), 0) : bytes;
            } else {
                desplazamientos << inicio + int(variables.size());
                variables += bytes;
            }
        }
        *fila = f_.jet4 ? Bytes16(quint32(n)) : QByteArray(1, char(n));
        *fila += fijos;
        for (int& d : desplazamientos)
            d += int(fijos.size());
        *fila += variables;
        if (!desplazamientos.isEmpty()) {
            const int fin = int(fila->size());
            *fila += f_.jet4 ? ColaJet4(desplazamientos, fin)
                             : ColaJet3(desplazamientos, fin, int(mascara.size()));
        }
        *fila += mascara;
        return fila->size() <= MaximoFila() ||
               Error(QStringLiteral("Una fila de %1 no cabe en una página").arg(t.nombre));
    }

    QByteArray ColaJet4(const QList<int>& desplazamientos, int fin) {
        QByteArray r = Bytes16(quint32(fin));
        for (qsizetype i = desplazamientos.size() - 1; i >= 0; --i)
            r += Bytes16(quint32(desplazamientos[i]));
        return r + Bytes16(quint32(desplazamientos.size()));
    }

    // One byte an offset; a row past 256 bytes lists, for each further 256, the first offset
    // that lies beyond it (a jump table, with a filler entry where none does).
    QByteArray ColaJet3(const QList<int>& desplazamientos, int fin, int mascara) {
        QList<int> todos = desplazamientos;
        todos << fin;
        const int n = int(desplazamientos.size());
        int saltos = 0;
        while ((fin + n + 1 + saltos + 1 + mascara - 1) / 256 > saltos)
            ++saltos;
        QByteArray r;
        for (int i = n; i >= 0; --i)
            r += char(todos[i] & 0xff);
        for (int k = saltos - 1; k >= 0; --k) {
            int primero = 0xff;
            for (int i = 0; i <= n && primero == 0xff; ++i)
                if (todos[i] >= 256 * (k + 1))
                    primero = i;
            r += char(primero);
        }
        return r + char(n);
    }

    bool Datos(const Tabla& t, int definicion, QList<int>* paginas) {
        QByteArray fila;
        for (const QVariantList& valores : t.filas) {
            if (!Fila(t, valores, &fila))
                return false;
            Guardar(paginas, quint32(definicion), fila);
        }
        return true;
    }

    Tabla Catalogo(const QList<Tabla>& tablas, const QList<int>& definiciones) const {
        Tabla c{QStringLiteral("MSysObjects"),
                {{QStringLiteral("Id"), Tipo::Largo},
                 {QStringLiteral("ParentId"), Tipo::Largo},
                 {QStringLiteral("Name"), Tipo::Texto},
                 {QStringLiteral("Type"), Tipo::Entero},
                 {QStringLiteral("DateCreate"), Tipo::Fecha},
                 {QStringLiteral("DateUpdate"), Tipo::Fecha},
                 {QStringLiteral("Flags"), Tipo::Largo},
                 {QStringLiteral("LvProp"), Tipo::Ole}},
                {},
                1};
        const QDateTime ahora = QDateTime::currentDateTime();
        // The catalog lists itself as a system table (flag 0x80000002); a table's Id is the page
        // of its definition.
        c.filas << QVariantList{2, 0x0F000001, c.nombre, 1, ahora, ahora, qint32(0x80000002), {}};
        for (int i = 0; i < tablas.size(); ++i)
            c.filas << QVariantList{
                definiciones[i], 0x0F000001, tablas[i].nombre, 1, ahora, ahora, 0, {}};
        return c;
    }

    // Which pages hold the table's rows: a bitmap from a first page, kept in the map's own row
    // when it reaches, or else spread over map pages the row points to.
    QByteArray Mapa(const QList<int>& paginas) {
        const int primera = paginas.isEmpty() ? 0 : paginas.first();
        if (paginas.isEmpty() || paginas.last() - primera < f_.bitsMapa) {
            QByteArray r(5 + f_.bitsMapa / 8, 0);
            Poner32(r, 1, quint32(primera));
            for (int p : paginas)
                r[5 + (p - primera) / 8] =
                    char(r[5 + (p - primera) / 8] | (1 << ((p - primera) % 8)));
            return r;
        }
        const int porPagina = (f_.pagina - 4) * 8;
        QByteArray r(1 + 4 * f_.entradasMapa, 0);
        r[0] = 0x01;
        for (int p : paginas) {
            const int k = p / porPagina;
            if (k >= f_.entradasMapa)
                return {};
            int mapa = int(qFromLittleEndian<quint32>(r.constData() + 1 + 4 * k));
            if (mapa == 0) {
                mapa = Nueva(0x05);
                paginas_[mapa][2] = 0;
                Poner32(r, 1 + 4 * k, quint32(mapa));
            }
            const int bit = p % porPagina;
            paginas_[mapa][4 + bit / 8] = char(paginas_[mapa][4 + bit / 8] | (1 << (bit % 8)));
        }
        return r;
    }

    void Definicion(const Tabla& t, int pagina, const QList<int>& datos, bool sistema) {
        QList<int> mapas{mapas_};
        const quint32 usadas = Guardar(&mapas, 0, Mapa(datos));
        const quint32 libres = Guardar(&mapas, 0, Mapa({}));
        mapas_ = mapas.last();
        QByteArray& p = paginas_[pagina];
        const int n = int(t.columnas.size());
        int variables = 0;
        for (const Columna& c : t.columnas)
            variables += Tamano(c.tipo) < 0 ? 1 : 0;
        const int base = f_.jet4 ? 16 : 12; // the row count; the rest follows from it
        Poner32(p, base, quint32(t.filas.size()));
        Poner32(p, base + 4, quint32(t.siguienteClave));
        if (f_.jet4)
            p[24] = 0x01; // the autonumber is in use
        else
            p.replace(2, 2, "VC");
        const int tipoTabla = f_.inicioColumnas - 23;
        p[tipoTabla] = sistema ? 0x53 : 0x4E;
        Poner16(p, tipoTabla + 1, quint32(n));
        Poner16(p, tipoTabla + 3, quint32(variables));
        Poner16(p, tipoTabla + 5, quint32(n));
        Poner32(p, tipoTabla + 15, usadas);
        Poner32(p, tipoTabla + 19, libres);
        int pos = f_.inicioColumnas, fijo = 0, variable = 0;
        for (int i = 0; i < n; ++i, pos += f_.entradaColumna)
            EntradaColumna(p, pos, i, t.columnas[i], &fijo, &variable);
        for (const Columna& c : t.columnas) {
            QByteArray nombre;
            if (f_.jet4) {
                nombre = Ucs2(c.nombre);
                p.replace(pos, 2, Bytes16(quint32(nombre.size())));
                pos += 2;
            } else {
                Texto(c.nombre, &nombre);
                p[pos++] = char(nombre.size());
            }
            p.replace(pos, nombre.size(), nombre);
            pos += int(nombre.size());
        }
        p.replace(pos, 2, Bytes16(0xFFFF));
        pos += 2;
        Poner32(p, 8, quint32(pos));
        if (f_.jet4)
            Poner16(p, 2, quint32(f_.pagina - pos - 8));
    }

    static QByteArray Ucs2(const QString& s) {
        QByteArray r;
        for (QChar c : s)
            r += Bytes16(c.unicode());
        return r;
    }

    void EntradaColumna(QByteArray& p, int pos, int numero, const Columna& c, int* fijo,
                        int* variable) {
        const bool esFijo = Tamano(c.tipo) >= 0;
        const int d = f_.jet4 ? 4 : 0; // the newer entry has four more bytes after the type
        p[pos] = char(c.tipo);
        Poner16(p, pos + 1 + d, quint32(numero));
        Poner16(p, pos + 3 + d, quint32(esFijo ? 0 : (*variable)++));
        Poner16(p, pos + 5 + d, quint32(numero));
        if (EsTexto(c.tipo)) {
            Poner16(p, pos + (f_.jet4 ? 11 : 7), 0x409); // general sort order
            if (!f_.jet4)
                Poner16(p, pos + 9, 1252);
        }
        int marcas = 0x02 | (esFijo ? 0x01 : 0) | (c.autonumerico ? 0x04 : 0);
        p[pos + (f_.jet4 ? 15 : 13)] = char(marcas);
        if (f_.jet4 && EsTexto(c.tipo))
            p[pos + 16] = 0x01; // compressed Unicode allowed
        Poner16(p, pos + (f_.jet4 ? 21 : 14), quint32(esFijo ? *fijo : 0));
        const int tamano =
            c.tipo == Tipo::Texto ? (f_.jet4 ? 510 : 255) : std::max(0, Tamano(c.tipo));
        Poner16(p, pos + (f_.jet4 ? 23 : 16), quint32(tamano));
        if (esFijo)
            *fijo += Tamano(c.tipo);
    }

    // Version, code page and sort order, no password, no page encryption; masked as the engine
    // masks it.
    void Cabecera() {
        QByteArray& p = paginas_[0];
        p.replace(4, 16, QByteArray("Standard Jet DB\0", 16));
        Poner32(p, 0x14, f_.jet4 ? 1 : 0);
        Poner16(p, f_.jet4 ? 0x6E : 0x3A, 0x409);
        Poner16(p, 0x3C, 1252);
        if (f_.jet4) {
            // The newer format masks the password with the creation date; an empty password is
            // then stored as the mask itself.
            const double creada = DiaJet(QDateTime::currentDateTime());
            p.replace(0x72, 8, BytesDoble(creada));
            const QByteArray mascara = Bytes32(quint32(qint32(creada)));
            for (int i = 0; i < 40; ++i)
                p[0x42 + i] = mascara[i % 4];
        }
        Rc4(p, 0x18, f_.jet4 ? 128 : 126);
    }

    const Formato f_;
    QList<QByteArray> paginas_;
    QList<int> largos_;
    int mapas_ = 1;
};

} // namespace

bool Escribir(const QString& ruta, Version version, const QList<Tabla>& tablas, QString* error) {
    Escritor e(version);
    if (e.Escribir(ruta, tablas))
        return true;
    if (error)
        *error = e.error;
    return false;
}

} // namespace Jet
