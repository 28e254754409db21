#pragma once

#include <QString>

namespace Origen {
// Whether "db_path" names a server database (a postgresql:// or postgres:// URI) rather than a
// database file.
inline bool EsServidor(const QString& ruta) {
    return ruta.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
           ruta.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}
} // namespace Origen
