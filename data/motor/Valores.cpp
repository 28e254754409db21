#include "Valores.h"

#include "Fechas.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <climits>
#include <cstring>
#include <sqlite3.h>

namespace Valores {

namespace {

// Asked for every column of every statement run: the type is put in capitals on the stack.
struct Mayusculas {
    char texto[64];
    explicit Mayusculas(const char* decl) {
        size_t i = 0;
        for (; decl[i] && i + 1 < sizeof texto; ++i)
            texto[i] =
                decl[i] >= 'a' && decl[i] <= 'z' ? static_cast<char>(decl[i] - 'a' + 'A') : decl[i];
        texto[i] = 0;
    }
    bool Contiene(const char* que) const { return std::strstr(texto, que) != nullptr; }
};

} // namespace

TipoColumna TipoDeclarado(const char* decl) {
    if (!decl)
        return TipoColumna::Libre;
    const Mayusculas d(decl);
    const auto alguno = [&d](std::initializer_list<const char*> partes) {
        return std::any_of(partes.begin(), partes.end(),
                           [&d](const char* p) { return d.Contiene(p); });
    };
    if (alguno({"BOOL"}))
        return TipoColumna::Booleano;
    if (alguno({"DATE", "TIME"}))
        return TipoColumna::Fecha;
    if (alguno({"INT"}))
        return TipoColumna::Entero;
    if (alguno({"DOUB", "REAL", "FLOA", "NUM"}))
        return TipoColumna::Doble;
    if (alguno({"CHAR", "TEXT", "CLOB"}))
        return TipoColumna::Texto;
    return TipoColumna::Libre;
}

QVariant Entero(qint64 v) {
    if (v >= INT_MIN && v <= INT_MAX)
        return QVariant(static_cast<int>(v));
    return QVariant(static_cast<qlonglong>(v));
}

bool ConvertirParametro(const QVariant& v, const QString& tipo, int n, QVariant* salida,
                        ErrorBD* error) {
    auto falla = [&](const QString& que) {
        *error = {SQLITE_MISMATCH,
                  QStringLiteral("El valor %1 (\"%2\") no es %3.").arg(n).arg(v.toString(), que)};
        return false;
    };
    const bool nulo = !v.isValid() || v.isNull();
    if (tipo == QLatin1String("TEXT")) {
        *salida = nulo ? QString(QLatin1String("")) : v.toString();
        return true;
    }
    if (tipo == QLatin1String("DOUBLE")) {
        bool ok = false;
        double d = 0;
        if (v.typeId() == QMetaType::QString) {
            const QString t = v.toString().trimmed();
            d = QLocale::c().toDouble(t, &ok);
            if (!ok)
                d = QLocale().toDouble(t, &ok);
        } else if (!nulo) {
            d = v.toDouble(&ok);
        }
        if (!ok)
            return falla(QStringLiteral("un número"));
        *salida = d;
        return true;
    }
    if (tipo == QLatin1String("INTEGER") || tipo == QLatin1String("SMALLINT")) {
        bool ok = false;
        qlonglong i = 0;
        if (v.typeId() == QMetaType::Bool) {
            i = v.toBool() ? 1 : 0;
            ok = true;
        } else if (v.typeId() == QMetaType::QString) {
            i = v.toString().trimmed().toLongLong(&ok);
        } else if (!nulo) {
            i = v.toLongLong(&ok);
        }
        if (!ok || i < INT_MIN || i > INT_MAX)
            return falla(QStringLiteral("un número entero"));
        if (tipo == QLatin1String("SMALLINT"))
            i = i != 0 ? 1 : 0; // a ticked box may come as 1, -1 or Qt::Checked
        *salida = static_cast<int>(i);
        return true;
    }
    if (tipo == QLatin1String("DATETIME")) {
        QDateTime m;
        if (v.typeId() == QMetaType::QDateTime)
            m = v.toDateTime();
        else if (v.typeId() == QMetaType::QDate)
            m = v.toDate().startOfDay();
        else if (!nulo)
            m = Fechas::Leer(v.toString().trimmed());
        if (!m.isValid())
            return falla(QStringLiteral("una fecha"));
        *salida = m;
        return true;
    }
    *salida = v;
    return true;
}

} // namespace Valores
