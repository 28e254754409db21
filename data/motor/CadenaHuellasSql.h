#pragma once

// Schema step 13 on the server: the hashes of a save's history lines (historial_agregar, on a
// UTF-8 database) computed by quimbel_huellas. The server's extension quimbel_cadena
// (data/servidor) gives it in C, where plpgsql spent as much on a new order's lines as the rest
// of its history together. Where the extension is not installed on the server, or the owner may
// not create it, the same hashes come from kHuellasPlpgsql; the extension's script drops that
// function when an owner creates it later ("CREATE EXTENSION quimbel_cadena"), so that every
// call finds the C one.
namespace CadenaSql {

// The chain's text of each line (historial_texto) written out where the line is hashed, one
// expression per line; the date and the login, the same for every line of a call, put in words
// once. Each length is that of the text itself, which is its UTF-8 length on a UTF-8 database.
inline constexpr const char* kHuellasPlpgsql = R"SQL(
CREATE OR REPLACE FUNCTION quimbel_huellas(anterior text, claves bigint[], cambios bigint[],
    fecha timestamp, quien text, orden integer, lineas historial_linea[])
RETURNS text[] LANGUAGE plpgsql IMMUTABLE AS $$
DECLARE
  linea historial_linea;
  huellas text[] := '{}';
  c text := to_char(fecha, 'YYYY-MM-DD HH24:MI:SS');
  comunes text := '|' || CASE WHEN c IS NULL THEN '~' ELSE octet_length(c)::text || ':' || c END
    || '|' || CASE WHEN quien IS NULL THEN '~'
                   ELSE octet_length(convert_to(quien, 'UTF8'))::text || ':' || quien END;
  de_orden text := '|' || CASE WHEN orden IS NULL THEN '~'
                               ELSE octet_length(orden::text)::text || ':' || orden::text END;
BEGIN
  FOR i IN 1 .. cardinality(lineas) LOOP
    linea := lineas[i];
    anterior := encode(sha256(convert_to(coalesce(anterior, '')
      || '|' || octet_length(claves[i]::text)::text || ':' || claves[i]::text
      || '|' || CASE WHEN cambios[i] IS NULL THEN '~'
                     ELSE octet_length(cambios[i]::text)::text || ':' || cambios[i]::text END
      || comunes
      || '|' || CASE WHEN linea.tipo IS NULL THEN '~'
                     ELSE octet_length(linea.tipo)::text || ':' || linea.tipo END
      || '|' || CASE WHEN linea.tabla IS NULL THEN '~'
                     ELSE octet_length(linea.tabla)::text || ':' || linea.tabla END
      || '|' || CASE WHEN linea.clave IS NULL THEN '~'
                     ELSE octet_length(linea.clave::text)::text || ':' || linea.clave::text END
      || de_orden
      || '|' || CASE WHEN linea.campo IS NULL THEN '~'
                     ELSE octet_length(linea.campo)::text || ':' || linea.campo END
      || '|' || CASE WHEN linea.anterior IS NULL THEN '~'
                     ELSE octet_length(linea.anterior)::text || ':' || linea.anterior END
      || '|' || CASE WHEN linea.nuevo IS NULL THEN '~'
                     ELSE octet_length(linea.nuevo)::text || ':' || linea.nuevo END,
      'UTF8')), 'hex');
    huellas[i] := anterior;
  END LOOP;
  RETURN huellas;
END $$;
)SQL";

// The extension where it is installed or can be: its script drops the function above. A refusal
// (the owner may not create it, or its files are incomplete) leaves that function in place.
inline constexpr const char* kHuellasEnC = R"SQL(
DO $$
BEGIN
  IF EXISTS (SELECT FROM pg_extension WHERE extname = 'quimbel_cadena') THEN
    DROP FUNCTION quimbel_huellas(text, bigint[], bigint[], timestamp, text, integer,
                                  historial_linea[]);
  ELSIF EXISTS (SELECT FROM pg_available_extensions WHERE name = 'quimbel_cadena') THEN
    BEGIN
      CREATE EXTENSION quimbel_cadena;
    EXCEPTION WHEN OTHERS THEN
      RAISE NOTICE 'La cadena del historial se calcula sin la extensión quimbel_cadena: %',
        SQLERRM;
    END;
  END IF;
END $$;
)SQL";

} // namespace CadenaSql
