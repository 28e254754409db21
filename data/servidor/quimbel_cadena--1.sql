\echo Use "CREATE EXTENSION quimbel_cadena" to load this file. \quit

-- The same hashes as the plpgsql loop Quimbel makes where this extension is missing, which goes
-- so that every call finds this one.
DROP FUNCTION IF EXISTS quimbel_huellas(text, bigint[], bigint[], timestamp, text, integer,
                                        historial_linea[]);

CREATE FUNCTION quimbel_huellas(anterior text, claves bigint[], cambios bigint[],
                                fecha timestamp, quien text, orden integer, lineas anyarray)
RETURNS text[] LANGUAGE C IMMUTABLE PARALLEL SAFE
AS 'MODULE_PATHNAME', 'quimbel_huellas';
