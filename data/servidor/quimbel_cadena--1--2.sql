\echo Use "ALTER EXTENSION quimbel_cadena UPDATE" to load this file. \quit

-- The chain's lock as a lock of its own; the plpgsql form Quimbel makes where this extension is
-- missing goes, so that every call finds this one.
DROP FUNCTION IF EXISTS quimbel_bloquear();

CREATE FUNCTION quimbel_bloquear() RETURNS void LANGUAGE C VOLATILE
AS 'MODULE_PATHNAME', 'quimbel_bloquear';
