#pragma once

// On a protected database, the one-call save of an order and the one-call state change
// (GuardadoOrdenSql) as the persons may run them: as the owner, with the caller's rights checked
// and the caller's own login recorded, whatever login was sent. The authorisation a save needs is
// checked and used up by the deferred triggers of the order's and quotes' rows, at the end of
// the call's transaction. Run by `proteger` after the other functions.
namespace ProteccionPg {

inline constexpr const char* kFuncionesOrden = R"SQL(
CREATE OR REPLACE FUNCTION quimbel_orden_guardar(
    p_login text, p_ordid integer, p_version text, p_fecha timestamp(0),
    p_cantidad double precision, p_unidad text, p_proid text, p_comentario text, p_lugar text,
    p_prioridad text, p_secid integer, p_cencosid integer, p_solicitante integer,
    p_autorizante integer, p_precios text[], p_notas text[], p_confirmada timestamp,
    p_coma text, p_usulogin text)
RETURNS TABLE (estado text, orden integer, version text)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
BEGIN
    PERFORM quimbel_exigir(yo, 'solicitar');
    RETURN QUERY SELECT * FROM quimbel_orden_escribir(
        yo.UsuLogin::text, p_ordid, p_version, p_fecha, p_cantidad, p_unidad, p_proid,
        p_comentario, p_lugar, p_prioridad, p_secid, p_cencosid, p_solicitante, p_autorizante,
        p_precios, p_notas, p_confirmada, p_coma, yo.UsuLogin::text);
END $$;

CREATE OR REPLACE FUNCTION quimbel_ordenes_estado(p_ids integer[], p_mostrado text,
                                                  p_estado text, p_coma text)
RETURNS TABLE (numero integer, paso text, actual text)
LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
DECLARE
    yo usuarios := quimbel_llamante();
BEGIN
    PERFORM quimbel_exigir_estado(yo, p_estado);
    RETURN QUERY SELECT * FROM quimbel_ordenes_pasar(yo.UsuLogin::text, yo.UsuId, p_ids,
                                                     p_mostrado, p_estado, p_coma);
END $$;
)SQL";

} // namespace ProteccionPg
