#include "Listas.h"

#include "Conexiones.h"

namespace Listas {
namespace {

struct Definicion {
    const char* sql;
    const char* mostrada;
    const char* valor;
};

// In the order of the Lista enumeration.
const Definicion kListas[] = {
    {"select distinct OrdUnidadMedida from ordenes where OrdEstado<>'Anulada' order by "
     "OrdUnidadMedida ASC",
     "OrdUnidadMedida", "OrdUnidadMedida"},
    {"select distinct OrdLugarEntrega from ordenes where OrdEstado<>'Anulada' order by "
     "OrdLugarEntrega ASC",
     "OrdLugarEntrega", "OrdLugarEntrega"},
    {"select UsuId,UsuNombre from usuarios where UsuPuedeSolicitar=1 and UsuDesactivado=0 "
     "order by UsuNombre ASC",
     "UsuNombre", "UsuId"},
    {"select UsuId,UsuNombre from usuarios where UsuPuedeAutorizar=1 and UsuDesactivado=0 "
     "order by UsuNombre ASC",
     "UsuNombre", "UsuId"},
    {"select SecId,SecDescripcion from sectores where SecDesactivado=0 order by "
     "SecDescripcion ASC",
     "SecDescripcion", "SecId"},
    {"select CenCosId,CenCosDescripcion from centrosdecosto where CenCosDesactivado=0 order "
     "by CenCosDescripcion ASC",
     "CenCosDescripcion", "CenCosId"},
    {"select distinct PreMoneda from precios", "PreMoneda", "PreMoneda"},
    {"select distinct PreFormaPago from precios", "PreFormaPago", "PreFormaPago"},
};

const Definicion& DefinicionDe(Lista lista) {
    return kListas[static_cast<int>(lista)];
}

bool Nombre(const QString& sql, int id, QString* nombre) {
    Recordset rs;
    const bool hallado = AbrirRecordset(sql, rs, {id}) && rs.AbsolutePosition() > 0;
    if (hallado)
        *nombre = rs.Campo(0).toString();
    CerrarRecordset(rs, true);
    return hallado;
}

} // namespace

Columnas ColumnasDe(Lista lista) {
    const Definicion& d = DefinicionDe(lista);
    return {QString::fromUtf8(d.mostrada), QString::fromUtf8(d.valor)};
}

bool Abrir(Lista lista, Recordset& rs) {
    return AbrirRecordset(QString::fromUtf8(DefinicionDe(lista).sql), rs);
}

bool NombreDeUsuario(int usuId, QString* nombre) {
    return Nombre(QStringLiteral("select UsuNombre from usuarios where UsuId=?"), usuId, nombre);
}

bool NombreDeSector(int secId, QString* nombre) {
    return Nombre(QStringLiteral("select SecDescripcion from sectores where SecId=?"), secId,
                  nombre);
}

bool NombreDeCentroDeCosto(int cenCosId, QString* nombre) {
    return Nombre(QStringLiteral("select CenCosDescripcion from centrosdecosto where CenCosId=?"),
                  cenCosId, nombre);
}

bool BuscarProductos(const QString& descripcion, Recordset& rs) {
    // % or _ typed by a person are plain characters to instr, and quotes need no doubling.
    return AbrirRecordset(QStringLiteral("select p.*, c.CatDescripcion from productos p left join "
                                         "categorias c on c.CatId=p.CatId where "
                                         "instr(p.ProDescripcion, ?) > 0 order by p.ProId"),
                          rs, {descripcion});
}

bool BuscarProveedores(const QString& nombre, Recordset& rs) {
    return AbrirRecordset(QStringLiteral("select * from proveedores where instr(EmpNombreFantasia, "
                                         "?) > 0 or instr(EmpRazonSocial, ?) > 0 order by EmpId"),
                          rs, {nombre, nombre});
}

} // namespace Listas
