#include "IngresosPendientes.h"

#include "cQueryReg.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace IngresosPendientes {
namespace {

constexpr const char* kValor = "ingresos_rechazados";
// Enough for a morning of mistyped passwords; a flood is not kept whole.
constexpr qsizetype kMaximo = 100;

// Kept as Base64 so that the settings file, which people edit by hand, holds one plain line.
QJsonArray Leer() {
    const QByteArray b64 =
        cQueryReg()
            .GetReg(QLatin1String(kClaveQuimbel), QLatin1String(kValor), HKEY_CURRENT_USER)
            .toString()
            .toLatin1();
    return QJsonDocument::fromJson(QByteArray::fromBase64(b64)).array();
}

bool Escribir(const QJsonArray& a) {
    const QString b64 =
        QString::fromLatin1(QJsonDocument(a).toJson(QJsonDocument::Compact).toBase64());
    return cQueryReg().SetReg(QLatin1String(kClaveQuimbel), QLatin1String(kValor), b64,
                              HKEY_CURRENT_USER);
}

} // namespace

void Guardar(const QString& base, const Usuarios::IngresoRechazado& i) {
    QJsonArray a = Leer();
    a.append(QJsonObject{{QStringLiteral("base"), base},
                         {QStringLiteral("login"), i.login},
                         {QStringLiteral("puesto"), i.puesto},
                         {QStringLiteral("momento"), i.momento.toString(Qt::ISODate)},
                         {QStringLiteral("motivo"), i.motivo}});
    while (a.size() > kMaximo)
        a.removeFirst();
    // A workstation that cannot keep it has nothing better to do with it: the sign-in itself
    // was refused and told.
    static_cast<void>(Escribir(a));
}

QList<Usuarios::IngresoRechazado> Pendientes(const QString& base) {
    QList<Usuarios::IngresoRechazado> r;
    for (const QJsonValue& v : Leer()) {
        const QJsonObject o = v.toObject();
        if (o.value(QStringLiteral("base")).toString() == base)
            r.append(
                {o.value(QStringLiteral("login")).toString(),
                 o.value(QStringLiteral("puesto")).toString(),
                 QDateTime::fromString(o.value(QStringLiteral("momento")).toString(), Qt::ISODate),
                 o.value(QStringLiteral("motivo")).toString()});
    }
    return r;
}

void Entregar(const QString& base) {
    const QList<Usuarios::IngresoRechazado> pendientes = Pendientes(base);
    if (pendientes.isEmpty() || !Usuarios::RegistrarIngresosRechazados(pendientes))
        return;
    // Only those handed in go: another window of the program may have kept one meanwhile.
    QJsonArray quedan;
    qsizetype entregados = pendientes.size();
    for (const QJsonValue& v : Leer()) {
        if (entregados > 0 && v.toObject().value(QStringLiteral("base")).toString() == base)
            --entregados;
        else
            quedan.append(v);
    }
    static_cast<void>(Escribir(quedan));
}

} // namespace IngresosPendientes
