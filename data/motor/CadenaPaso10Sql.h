#pragma once

// Schema step 10 on the server: the history lines of a save chained at a lower cost, every hash
// the same as before. On a UTF-8 database the lines are hashed by quimbel_huellas
// (CadenaHuellasSql.h, since step 13): the server's extension in C where the office installed
// it, else the same texts and hashes in plpgsql. A database in another encoding still measures
// each text through convert_to, line by line as before. Without the chain (a server copying rows
// as they are, with replication's role) the lock and the read of the chain's last line are left
// out too, as the lines are not chained.
//
// The chain's last line is always read from the table, under the chain's lock (quimbel_bloquear,
// CadenaBloqueoSql.h; taken again at no cost by a transaction that holds it), which the persons
// of a protected server cannot take: the advisory lock used before was open to every role, and a
// person holding it stopped every save. The last line was once remembered in a setting of the
// transaction, but a person on a protected server can set any such setting: a forged one broke
// the chain and, with a key near the end of its range, left nobody able to save again. Steps 11,
// 13 and 14 run this text again on databases that had it before; one brought up from an earlier
// step runs it there too, and calls quimbel_huellas only once the upgrade, which makes it in the
// same transaction, is committed.
//
// A number is also worded as the program words it on the file (Formato::Numero: 15 significant
// digits, in powers of ten from 1E+15 and below 1E-04), so that the history of both engines
// reads alike; before, a number whose digits ended in zeros could lose them ("1" for 1E+20).
namespace CadenaSql {

inline constexpr const char* kPaso10 = R"SQL(
-- The float's value to 15 significant digits, as the cast to numeric rounds it: in plain digits,
-- the zeros of a whole number kept, or from 1E+15 and below 1E-04 as mantissa and exponent
-- (to_char's "e+20" becoming "E+20"). A value just under 1E+15 that rounds up to it is written
-- in digits, as on the file. STABLE as to_char is, so that it is still written into the
-- statements that use it.
CREATE OR REPLACE FUNCTION historial_numero(x double precision, coma text) RETURNS text
LANGUAGE sql STABLE AS $$
  SELECT CASE WHEN x IS NULL THEN ''
              WHEN x = 'NaN' THEN 'nan'
              WHEN x = 'Infinity' THEN 'inf'
              WHEN x = '-Infinity' THEN '-inf'
              WHEN x = trunc(x) AND abs(x) < 1e15 THEN x::bigint::text
              WHEN abs(x) >= 1e15 OR abs(x::numeric) < 1e-4 THEN
                replace(rtrim(rtrim(split_part(btrim(to_char(x::numeric, '9.99999999999999EEEE')),
                                               'e', 1), '0'), '.'), '.', coma)
                || 'E' || split_part(to_char(x::numeric, '9.99999999999999EEEE'), 'e', 2)
              WHEN x::numeric::text NOT LIKE '%.%' THEN x::numeric::text
              ELSE replace(rtrim(rtrim(x::numeric::text, '0'), '.'), '.', coma) END
$$;

CREATE OR REPLACE FUNCTION historial_agregar(login text, ordid integer, lineas historial_linea[])
RETURNS void LANGUAGE plpgsql AS $$
DECLARE
  secuencia regclass := pg_get_serial_sequence('historial', 'hisid');
  n integer := cardinality(lineas);
  encadenar boolean := current_setting('session_replication_role') <> 'replica';
  fecha timestamp(0) := ahora();
  quien text := btrim(login);
  orden integer := nullif(ordid, 0);
  ultimo bigint;
  anterior text;
  claves bigint[];
  cambios bigint[] := '{}';
  huellas text[] := '{}';
  cambio bigint;
  linea historial_linea;
BEGIN
  IF n = 0 THEN
    RETURN;
  END IF;
  IF encadenar THEN
    PERFORM quimbel_bloquear();
    SELECT HisId, HisHuella INTO ultimo, anterior FROM historial ORDER BY HisId DESC LIMIT 1;
  END IF;
  -- Keys drawn in order, each past the chain's last line: greatest(drawn, last + i) is also past
  -- the line before, as the sequence only grows.
  claves := ARRAY(SELECT greatest(nextval(secuencia), coalesce(ultimo, 0) + i)
                    FROM generate_series(1, n) AS i ORDER BY i);
  FOR i IN 1 .. n LOOP
    IF i = 1 OR lineas[i].grupo <> lineas[i - 1].grupo THEN
      cambio := claves[i];
      cambios[i] := NULL;
    ELSE
      cambios[i] := cambio;
    END IF;
  END LOOP;
  IF encadenar THEN
    IF current_setting('server_encoding') = 'UTF8' THEN
      huellas := quimbel_huellas(anterior, claves, cambios, fecha, quien, orden, lineas);
    ELSE
      FOR i IN 1 .. n LOOP
        linea := lineas[i];
        anterior := encode(sha256(convert_to(coalesce(anterior, '')
          || historial_texto(claves[i], cambios[i], fecha, quien, linea.tipo, linea.tabla,
                             linea.clave, orden, linea.campo, linea.anterior, linea.nuevo),
          'UTF8')), 'hex');
        huellas[i] := anterior;
      END LOOP;
    END IF;
  END IF;
  INSERT INTO historial (HisId, HisCambio, HisFecha, HisLogin, HisTipo, HisTabla, HisClave,
                         HisOrdId, HisCampo, HisAnterior, HisNuevo, HisHuella)
  SELECT claves[l.i], cambios[l.i], fecha, quien, l.tipo, l.tabla, l.clave, orden, l.campo,
         l.anterior, l.nuevo, huellas[l.i]
    FROM unnest(lineas) WITH ORDINALITY AS l (grupo, tipo, tabla, clave, campo, anterior, nuevo, i)
   ORDER BY l.i;
END $$;
)SQL";

} // namespace CadenaSql
