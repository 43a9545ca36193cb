#include "cajeros.h"

#include "db/TmiddleTier.h"
#include "operaciones/transaccion.h"

namespace {

QVariant patronONulo(const QVariant& v) {
  if (!v.isValid() || v.isNull()) return QVariant(QMetaType::fromType<QString>());
  return QVariant(v.toString());
}

QVariant enteroONulo(const QVariant& v) {
  if (!v.isValid() || v.isNull()) return QVariant(QMetaType::fromType<qlonglong>());
  return QVariant::fromValue<qlonglong>(v.toLongLong());
}

void ligaUbicacion(TmiddleTier& mt, const TUbicacion& u) {
  mt.setString(QStringLiteral("calle"), u.calle);
  mt.setString(QStringLiteral("noExterior"), u.noExterior);
  mt.setString(QStringLiteral("noInterior"), u.noInterior);
  mt.setString(QStringLiteral("colonia"), u.colonia);
  mt.setString(QStringLiteral("localidad"), u.localidad);
  mt.setString(QStringLiteral("referencia"), u.referencia);
  mt.setString(QStringLiteral("municipio"), u.municipio);
  mt.setString(QStringLiteral("estado"), u.estado);
  mt.setString(QStringLiteral("pais"), u.pais);
  mt.setString(QStringLiteral("codigoPostal"), u.codigoPostal);
}

qint64 insertaUbicacion(TmiddleTier& mt, const TUbicacion& u) {
  mt.setQuery(QStringLiteral(
      "INSERT INTO Ubicacion (calle, noExterior, noInterior, colonia, localidad, referencia, "
      "municipio, estado, pais, codigoPostal) VALUES (:calle, :noExterior, :noInterior, "
      ":colonia, :localidad, :referencia, :municipio, :estado, :pais, :codigoPostal) "
      "RETURNING idUbicacion"));
  ligaUbicacion(mt, u);
  const QVariant id = mt.scalar();
  return id.isValid() ? id.toLongLong() : 0;
}

void ligaPersona(TmiddleTier& mt, const TPersona& p, qint64 ubicacion) {
  mt.setString(QStringLiteral("nombre"), p.nombre);
  mt.setString(QStringLiteral("paterno"), p.apellidoPaterno);
  mt.setString(QStringLiteral("materno"), p.apellidoMaterno);
  mt.setInteger(QStringLiteral("sexo"), p.sexo);
  mt.setString(QStringLiteral("nacimiento"), p.fechaNacimiento);
  mt.setString(QStringLiteral("mail"), p.mail);
  mt.setString(QStringLiteral("telefono"), p.telefono);
  mt.setString(QStringLiteral("celular"), p.celular);
  if (p.tieneFoto())
    mt.setBytes(QStringLiteral("foto"), p.foto);
  else
    mt.setNull(QStringLiteral("foto"), QMetaType::QByteArray);
  mt.setInteger(QStringLiteral("ubicacion"), ubicacion);
}

bool datosValidos(const UREC_cajero& c) {
  return !c.clave.trimmed().isEmpty() && c.estadoVendedor > 0 && c.persona.sexo >= -1 &&
         c.persona.sexo <= 1;
}

}  // namespace

CmidTierResponse selectCajeroEstados(TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT id AS ventasVendedorEstado_id, etiqueta AS ventasVendedorEstado_etiqueta FROM "
      "ventasVendedorEstado ORDER BY id"));
  return mt.reader();
}

CmidTierResponse consultaCajeros(const QVariant& nombre, const QVariant& clave,
                                 const QVariant& estado, int idNegocio, TConexionSesion& conexion) {
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT puntoCajero.id AS puntoCajero_id, Persona.idPersona AS persona_idPersona, "
      "puntoCajero.clave AS puntoCajero_clave, Persona.nombre || ' ' || Persona.apellidoPaterno "
      "|| ' ' || Persona.apellidoMaterno AS persona_nombre, ventasVendedorEstado.id AS "
      "ventasVendedorEstado_id, ventasVendedorEstado.etiqueta AS ventasVendedorEstado_etiqueta "
      "FROM puntoCajero INNER JOIN Persona ON Persona.idPersona = puntoCajero.persona_idPersona "
      "INNER JOIN ventasVendedorEstado ON ventasVendedorEstado.id = "
      "puntoCajero.ventasVendedorEstado_id "
      "WHERE puntoCajero.idNegocioFk = :negocio AND (:nombre IS NULL OR LOWER(Persona.nombre || "
      "' ' || Persona.apellidoPaterno || ' ' || Persona.apellidoMaterno) LIKE LOWER(:nombre)) "
      "AND (:clave IS NULL OR LOWER(puntoCajero.clave) LIKE LOWER(:clave)) AND (:estado IS NULL "
      "OR puntoCajero.ventasVendedorEstado_id = :estado) "
      "ORDER BY Persona.nombre, Persona.apellidoPaterno, Persona.apellidoMaterno, puntoCajero.id"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setVariant(QStringLiteral("nombre"), patronONulo(nombre));
  mt.setVariant(QStringLiteral("clave"), patronONulo(clave));
  mt.setVariant(QStringLiteral("estado"), enteroONulo(estado));
  return mt.reader();
}

UREC_cajero buscaCajero(int cajeroId, TConexionSesion& conexion) {
  UREC_cajero c;
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT puntoCajero.id AS id, puntoCajero.clave AS clave, puntoCajero.nota AS nota, "
      "puntoCajero.ventasVendedorEstado_id AS estadoId, ventasVendedorEstado.etiqueta AS "
      "estado, Persona.idPersona AS personaId, Persona.nombre AS nombre, "
      "Persona.apellidoPaterno AS paterno, Persona.apellidoMaterno AS materno, Persona.sexo AS "
      "sexo, Persona.fechaNacimiento AS nacimiento, Persona.mail AS mail, Persona.telefono AS "
      "telefono, Persona.celular AS celular, Persona.foto AS foto, Persona.idNegocioFk AS "
      "negocio, Ubicacion.idUbicacion AS ubicacionId, Ubicacion.calle AS calle, "
      "Ubicacion.noExterior AS noExterior, Ubicacion.noInterior AS noInterior, Ubicacion.colonia "
      "AS colonia, Ubicacion.localidad AS localidad, Ubicacion.referencia AS referencia, "
      "Ubicacion.municipio AS municipio, Ubicacion.estado AS estadoDireccion, Ubicacion.pais AS "
      "pais, Ubicacion.codigoPostal AS codigoPostal "
      "FROM puntoCajero INNER JOIN Persona ON Persona.idPersona = puntoCajero.persona_idPersona "
      "LEFT JOIN ventasVendedorEstado ON ventasVendedorEstado.id = "
      "puntoCajero.ventasVendedorEstado_id LEFT JOIN Ubicacion ON Ubicacion.idUbicacion = "
      "Persona.idUbicacionFk WHERE puntoCajero.id = :id"));
  mt.setInteger(QStringLiteral("id"), cajeroId);
  const CmidTierResponse r = mt.reader();
  if (!r.ok() || r.getRowCount() == 0) return c;
  auto t = [&](const char* a) { return r.getCelda(QLatin1String(a)); };
  c.id = r.getCeldaAsInt(QStringLiteral("id"));
  c.clave = t("clave");
  c.nota = t("nota");
  c.estadoVendedor = r.getCeldaAsInt(QStringLiteral("estadoId"));
  c.estado = t("estado");
  TPersona& p = c.persona;
  p.id = r.getCeldaAsInt(QStringLiteral("personaId"));
  c.personaID = p.id;
  p.nombre = t("nombre");
  p.apellidoPaterno = t("paterno");
  p.apellidoMaterno = t("materno");
  p.sexo = r.getCeldaAsInt(QStringLiteral("sexo"));
  p.fechaNacimiento = t("nacimiento");
  p.mail = t("mail");
  p.telefono = t("telefono");
  p.celular = t("celular");
  p.idNegocio = r.getCeldaAsInt(QStringLiteral("negocio"));
  const QVariant foto = r.valor(QStringLiteral("foto"));
  if (!foto.isNull()) p.foto = foto.toByteArray();
  TUbicacion& u = p.ubicacion;
  u.id = r.getCeldaAsInt(QStringLiteral("ubicacionId"));
  u.calle = t("calle");
  u.noExterior = t("noExterior");
  u.noInterior = t("noInterior");
  u.colonia = t("colonia");
  u.localidad = t("localidad");
  u.referencia = t("referencia");
  u.municipio = t("municipio");
  u.estado = t("estadoDireccion");
  u.pais = t("pais");
  u.codigoPostal = t("codigoPostal");
  c.nombreCompleto = QStringList{p.nombre, p.apellidoPaterno, p.apellidoMaterno}.join(' ');
  return c;
}

bool buscaClaveDuplciadaCajero(const QString& clave, const QString& claveActual, int idNegocio,
                               TConexionSesion& conexion) {
  const QString c = clave.trimmed();
  if (!claveActual.trimmed().isEmpty() &&
      c.compare(claveActual.trimmed(), Qt::CaseInsensitive) == 0)
    return false;
  TmiddleTier mt(conexion);
  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) FROM puntoCajero WHERE idNegocioFk = :negocio AND LOWER(TRIM(clave)) = "
      "LOWER(:clave)"));
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  mt.setString(QStringLiteral("clave"), c);
  return mt.scalar().toInt() > 0;
}

bool cajeroInserta(const UREC_cajero& cajero, int idNegocio, TConexionSesion& conexion) {
  if (!datosValidos(cajero) || idNegocio <= 0) return false;
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return false;
  if (buscaClaveDuplciadaCajero(cajero.clave, QString(), idNegocio, conexion)) return false;
  const qint64 ubicacion = insertaUbicacion(mt, cajero.persona.ubicacion);
  if (ubicacion <= 0) return false;
  mt.setQuery(QStringLiteral(
      "INSERT INTO Persona (nombre, apellidoPaterno, apellidoMaterno, sexo, fechaNacimiento, "
      "mail, telefono, celular, foto, idUbicacionFk, idNegocioFk) VALUES (:nombre, :paterno, "
      ":materno, :sexo, :nacimiento, :mail, :telefono, :celular, :foto, :ubicacion, :negocio) "
      "RETURNING idPersona"));
  ligaPersona(mt, cajero.persona, ubicacion);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  const QVariant persona = mt.scalar();
  if (!persona.isValid() || persona.toLongLong() <= 0) return false;
  mt.setQuery(QStringLiteral(
      "INSERT INTO puntoCajero (clave, nota, persona_idPersona, ventasVendedorEstado_id, "
      "idNegocioFk) VALUES (:clave, :nota, :persona, :estado, :negocio)"));
  mt.setString(QStringLiteral("clave"), cajero.clave.trimmed());
  mt.setString(QStringLiteral("nota"), cajero.nota);
  mt.setInteger(QStringLiteral("persona"), persona.toLongLong());
  mt.setInteger(QStringLiteral("estado"), cajero.estadoVendedor);
  mt.setInteger(QStringLiteral("negocio"), idNegocio);
  if (mt.nonQuery() != 1) return false;
  return tx.termina();
}

bool cajeroActualiza(const UREC_cajero& cajero, TConexionSesion& conexion) {
  if (!datosValidos(cajero) || cajero.id <= 0) return false;
  TmiddleTier mt(conexion);
  TTransaccion tx(mt);
  if (!tx.inicia()) return false;
  // The person and the cashier must belong together, so an update never touches another row.
  mt.setQuery(QStringLiteral(
      "SELECT puntoCajero.persona_idPersona AS persona, puntoCajero.idNegocioFk AS negocio, "
      "Persona.idUbicacionFk AS ubicacion FROM puntoCajero INNER JOIN Persona ON "
      "Persona.idPersona = puntoCajero.persona_idPersona WHERE puntoCajero.id = :id"));
  mt.setInteger(QStringLiteral("id"), cajero.id);
  const CmidTierResponse actual = mt.reader();
  if (!actual.ok() || actual.getRowCount() != 1) return false;
  const int persona = actual.getCeldaAsInt(QStringLiteral("persona"));
  if (cajero.persona.id != 0 && cajero.persona.id != persona) return false;
  const int negocio = actual.getCeldaAsInt(QStringLiteral("negocio"));
  qint64 ubicacion = actual.getCeldaAsInt(QStringLiteral("ubicacion"));
  if (cajero.persona.ubicacion.id != 0 && cajero.persona.ubicacion.id != ubicacion) return false;

  // The key may not collide with another cashier's.
  mt.setQuery(QStringLiteral(
      "SELECT COUNT(*) FROM puntoCajero WHERE idNegocioFk = :negocio AND id <> :id AND "
      "LOWER(TRIM(clave)) = LOWER(:clave)"));
  mt.setInteger(QStringLiteral("negocio"), negocio);
  mt.setInteger(QStringLiteral("id"), cajero.id);
  mt.setString(QStringLiteral("clave"), cajero.clave.trimmed());
  if (mt.scalar().toInt() != 0) return false;

  if (ubicacion > 0) {
    mt.setQuery(QStringLiteral(
        "UPDATE Ubicacion SET calle = :calle, noExterior = :noExterior, noInterior = "
        ":noInterior, colonia = :colonia, localidad = :localidad, referencia = :referencia, "
        "municipio = :municipio, estado = :estado, pais = :pais, codigoPostal = :codigoPostal "
        "WHERE idUbicacion = :id"));
    ligaUbicacion(mt, cajero.persona.ubicacion);
    mt.setInteger(QStringLiteral("id"), ubicacion);
    if (mt.nonQuery() != 1) return false;
  } else {
    ubicacion = insertaUbicacion(mt, cajero.persona.ubicacion);
    if (ubicacion <= 0) return false;
  }
  mt.setQuery(QStringLiteral(
      "UPDATE Persona SET nombre = :nombre, apellidoPaterno = :paterno, apellidoMaterno = "
      ":materno, sexo = :sexo, fechaNacimiento = :nacimiento, mail = :mail, telefono = "
      ":telefono, celular = :celular, foto = :foto, idUbicacionFk = :ubicacion WHERE idPersona = "
      ":id"));
  ligaPersona(mt, cajero.persona, ubicacion);
  mt.setInteger(QStringLiteral("id"), persona);
  if (mt.nonQuery() != 1) return false;
  mt.setQuery(QStringLiteral(
      "UPDATE puntoCajero SET clave = :clave, nota = :nota, ventasVendedorEstado_id = :estado "
      "WHERE id = :id"));
  mt.setString(QStringLiteral("clave"), cajero.clave.trimmed());
  mt.setString(QStringLiteral("nota"), cajero.nota);
  mt.setInteger(QStringLiteral("estado"), cajero.estadoVendedor);
  mt.setInteger(QStringLiteral("id"), cajero.id);
  if (mt.nonQuery() != 1) return false;
  return tx.termina();
}
