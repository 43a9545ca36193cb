// Cashiers, registers with their open sessions, payment methods and the online user.

#include "catalogo/importacion.h"
#include "signing/firma.h"
#include "util/limites.h"
#include "util/utilerias.h"

void u_importaCajeros(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("cajeros");
  im.bd.reservaIds(QStringLiteral("puntoCajero"), QStringLiteral("id"), lista.seccion().ids,
                   [&](int i) { return u_contextoElemento(seccion, i); });
  TmiddleTier& persona = im.bd.sentencia(
      "INSERT INTO Persona (nombre, apellidoPaterno, apellidoMaterno, sexo, fechaNacimiento, "
      "mail, telefono, celular, idNegocioFk) VALUES (:nombre, :paterno, :materno, :sexo, "
      ":nacimiento, :mail, :telefono, :celular, :negocio) RETURNING idPersona");
  TmiddleTier& cajero = im.bd.sentencia(
      "INSERT INTO puntoCajero (id, clave, nota, persona_idPersona, ventasVendedorEstado_id, "
      "idNegocioFk) VALUES ({ID puntoCajero.id}, :clave, :nota, :persona, :estado, :negocio) "
      "RETURNING id");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    u_enlazaId(cajero, r.id());
    const QString clave = r.textoRequerido(QStringLiteral("clave"), kMaxLargoClave);
    r.nombraCon(QStringLiteral("clave"), clave);
    if (im.cajeros.contains(clave)) r.falla(QStringLiteral("la clave se repite"));
    const qint64 estado = r.entero(QStringLiteral("estado"), 1);
    if (estado < 1 || estado > 3)
      r.falla(QStringLiteral("el estado debe ser 1 (activo), 2 (inactivo) o 3 (suspendido)"));
    const qint64 sexo = r.entero(QStringLiteral("sexo"), -1);
    if (sexo < -1 || sexo > 1)
      r.falla(QStringLiteral("el sexo debe ser 1 (masculino), 0 (femenino) o -1 (sin dato)"));
    persona.setString(QStringLiteral("nombre"),
                      r.textoRequerido(QStringLiteral("nombre"), kMaxLargoNombre));
    persona.setString(QStringLiteral("paterno"),
                      r.texto(QStringLiteral("apellidoPaterno"), QString(), kMaxLargoNombre));
    persona.setString(QStringLiteral("materno"),
                      r.texto(QStringLiteral("apellidoMaterno"), QString(), kMaxLargoNombre));
    persona.setInteger(QStringLiteral("sexo"), sexo);
    persona.setString(QStringLiteral("nacimiento"), r.texto(QStringLiteral("fechaNacimiento")));
    persona.setString(QStringLiteral("mail"), r.texto(QStringLiteral("mail")));
    persona.setString(QStringLiteral("telefono"), r.texto(QStringLiteral("telefono")));
    persona.setString(QStringLiteral("celular"), r.texto(QStringLiteral("celular")));
    persona.setInteger(QStringLiteral("negocio"), im.idNegocio);
    cajero.setString(QStringLiteral("clave"), clave);
    cajero.setString(QStringLiteral("nota"),
                     r.texto(QStringLiteral("nota"), QString(), kMaxLargoTexto));
    cajero.setInteger(QStringLiteral("estado"), estado);
    cajero.setInteger(QStringLiteral("negocio"), im.idNegocio);
    r.termina();
    cajero.setInteger(QStringLiteral("persona"), im.bd.insertaConId(persona, r.contexto()));
    const qint64 id = im.bd.insertaConId(cajero, r.contexto());
    im.cajeros.insert(clave, {id, static_cast<int>(estado), r.contexto()});
  }
}

namespace {

struct TSesionImportada {
  qint64 id = 0;
  qint64 cajero = 0;
  QString estacion;
  QDateTime fechaApertura;
  double montoApertura = 0;
  qint64 billetes[6] = {0, 0, 0, 0, 0, 0};
  double monedas = 0;
};

const int kBilletes[6] = {1000, 500, 200, 100, 50, 20};

// The open session of a register: bound to its station, which no other active session may
// hold (the sale register finds its register through it).
TSesionImportada leeSesion(TImportacion& im, const TLectorRegistro& caja, const QJsonValue& v,
                           QSet<qint64>& cajerosEnSesion, QSet<QString>& estaciones) {
  TLectorRegistro r(v, caja.contexto() + QStringLiteral(".sesion"));
  TSesionImportada s;
  const auto id = r.id();
  s.id = id ? *id : 0;
  const QString clave = r.textoRequerido(QStringLiteral("cajero"), kMaxLargoClave);
  const auto it = im.cajeros.constFind(clave);
  if (it == im.cajeros.constEnd())
    r.falla(QStringLiteral("no existe el cajero con clave \"%1\"").arg(clave));
  if (it->estado != 1) r.falla(QStringLiteral("el cajero \"%1\" no está activo").arg(clave));
  if (cajerosEnSesion.contains(it->id))
    r.falla(QStringLiteral("el cajero \"%1\" ya tiene otra sesión abierta").arg(clave));
  cajerosEnSesion.insert(it->id);
  s.cajero = it->id;
  s.estacion = r.textoRequerido(QStringLiteral("estacion"), kMaxLargoClave);
  // Another import may be binding the same station right now.
  im.bd.bloquea(TEscritorCatalogo::bloqueoEstacion, s.estacion);
  if (estaciones.contains(s.estacion) ||
      im.bd.escalar(QStringLiteral("SELECT COUNT(*) FROM puntoCajaSesion WHERE estacion = :e "
                                   "AND activa = 1"),
                    {{QStringLiteral("e"), s.estacion}})
              .toLongLong() > 0)
    r.falla(QStringLiteral("la estación \"%1\" ya está relacionada a una sesión activa")
                .arg(s.estacion));
  estaciones.insert(s.estacion);
  s.fechaApertura = r.fecha(QStringLiteral("fechaApertura"));
  if (!s.fechaApertura.isValid()) s.fechaApertura = QDateTime::currentDateTime();
  s.montoApertura = r.numero(QStringLiteral("montoApertura"), 0);
  if (s.montoApertura < 0) r.falla(QStringLiteral("el monto de apertura no puede ser negativo"));
  r.revisa(u_revisaMonto(s.montoApertura, QStringLiteral("el monto de apertura")));
  bool conConteo = false;
  double conteo = 0;
  for (int b = 0; b < 6; ++b) {
    const QString campo = QStringLiteral("billetes%1").arg(kBilletes[b]);
    conConteo |= r.tiene(campo);
    s.billetes[b] = r.entero(campo, 0);
    if (s.billetes[b] < 0) r.falla(QStringLiteral("\"%1\" no puede ser negativo").arg(campo));
    conteo += static_cast<double>(s.billetes[b] * kBilletes[b]);
  }
  conConteo |= r.tiene(QStringLiteral("monedas"));
  s.monedas = r.numero(QStringLiteral("monedas"), 0);
  if (s.monedas < 0) r.falla(QStringLiteral("\"monedas\" no puede ser negativo"));
  r.revisa(u_revisaMonto(s.monedas, QStringLiteral("\"monedas\"")));
  if (conConteo &&
      u_truncaDecimales(conteo + s.monedas, 2) != u_truncaDecimales(s.montoApertura, 2))
    r.falla(QStringLiteral("billetes y monedas suman %1, no el monto de apertura %2")
                .arg(u_floatToStr(conteo + s.monedas), u_floatToStr(s.montoApertura)));
  r.termina();
  return s;
}

}  // namespace

void u_importaCajas(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("cajas");
  im.bd.reservaIds(QStringLiteral("puntoCaja"), QStringLiteral("id"), lista.seccion().ids,
                   [&](int i) { return u_contextoElemento(seccion, i); });
  // Sessions may carry their own ids too.
  im.bd.reservaIds(
      QStringLiteral("puntoCajaSesion"), QStringLiteral("id"), lista.seccion().idsSesion,
      [&](int i) { return u_contextoElemento(seccion, i) + QStringLiteral(".sesion"); });
  // The register goes first without its session, which needs the register's id; then the
  // session, then the register points at it.
  TmiddleTier& caja = im.bd.sentencia(
      "INSERT INTO puntoCaja (id, clave, descripcion, inventarioAlmacen_id, estado, "
      "puntoCajaSesion_id, idNegocioFk) VALUES ({ID puntoCaja.id}, :clave, :descripcion, "
      ":almacen, :estado, NULL, :negocio) RETURNING id");
  TmiddleTier& sesion = im.bd.sentencia(
      "INSERT INTO puntoCajaSesion (id, puntoCaja_id, cajaNombre, puntoCajero_id, fechaApertura, "
      "montoApertura, billetes1000, billetes500, billetes200, billetes100, billetes50, "
      "billetes20, monedas, estacion, activa, idNegocioFk) VALUES ({ID puntoCajaSesion.id}, "
      ":caja, :nombre, :cajero, :fecha, :monto, :b1000, :b500, :b200, :b100, :b50, :b20, "
      ":monedas, :estacion, 1, :negocio) RETURNING id");
  TmiddleTier& enlace =
      im.bd.sentencia("UPDATE puntoCaja SET puntoCajaSesion_id = :sesion WHERE id = :caja");
  QSet<QString> claves, estaciones;
  QSet<qint64> cajerosEnSesion;
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    u_enlazaId(caja, r.id());
    const QString clave = r.textoRequerido(QStringLiteral("clave"), kMaxLargoClave);
    r.nombraCon(QStringLiteral("clave"), clave);
    if (claves.contains(clave)) r.falla(QStringLiteral("la clave se repite"));
    claves.insert(clave);
    const QString descripcion = r.texto(QStringLiteral("descripcion"), QString(), kMaxLargoNombre);
    const qint64 almacen =
        im.almacen(r, r.textoRequerido(QStringLiteral("almacen"), kMaxLargoClave));
    const QJsonValue v = r.objeto(QStringLiteral("sesion"));
    const bool abierta = !v.isUndefined();
    TSesionImportada s;
    if (abierta) s = leeSesion(im, r, v, cajerosEnSesion, estaciones);
    r.termina();
    caja.setString(QStringLiteral("clave"), clave);
    caja.setString(QStringLiteral("descripcion"), descripcion);
    caja.setInteger(QStringLiteral("almacen"), almacen);
    caja.setInteger(QStringLiteral("estado"), abierta ? 1 : 0);
    caja.setInteger(QStringLiteral("negocio"), im.idNegocio);
    const qint64 idCaja = im.bd.insertaConId(caja, r.contexto());
    if (!abierta) continue;
    u_enlazaId(sesion, s.id > 0 ? std::optional<qint64>(s.id) : std::nullopt);
    sesion.setInteger(QStringLiteral("caja"), idCaja);
    sesion.setString(QStringLiteral("nombre"), descripcion);
    sesion.setInteger(QStringLiteral("cajero"), s.cajero);
    sesion.setDateTime(QStringLiteral("fecha"), s.fechaApertura);
    sesion.setDouble(QStringLiteral("monto"), s.montoApertura);
    for (int b = 0; b < 6; ++b)
      sesion.setInteger(QStringLiteral("b%1").arg(kBilletes[b]), s.billetes[b]);
    sesion.setDouble(QStringLiteral("monedas"), s.monedas);
    sesion.setString(QStringLiteral("estacion"), s.estacion);
    sesion.setInteger(QStringLiteral("negocio"), im.idNegocio);
    enlace.setInteger(QStringLiteral("sesion"),
                      im.bd.insertaConId(sesion, r.contexto() + QStringLiteral(".sesion")));
    enlace.setInteger(QStringLiteral("caja"), idCaja);
    // The register was counted when it went in.
    if (enlace.nonQuery() != 1)
      u_errorImportacion(r.contexto() +
                         QStringLiteral(": no se pudo guardar (%1)").arg(enlace.ultimoError()));
  }
}

void u_importaMetodosPago(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("metodosPago");
  im.bd.reservaIds(QStringLiteral("puntoMetodoPago"), QStringLiteral("id"), lista.seccion().ids,
                   [&](int i) { return u_contextoElemento(seccion, i); });
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO puntoMetodoPago (id, nombre, formaPago_id, activo, orden, idNegocioFk) "
      "VALUES ({ID puntoMetodoPago.id}, :nombre, :forma, :activo, :orden, :negocio)");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    u_enlazaId(mt, r.id());
    const QString nombre = r.textoRequerido(QStringLiteral("nombre"), kMaxLargoNombre);
    r.nombraCon(QStringLiteral("nombre"), nombre);
    const qint64 forma = r.enteroRequerido(QStringLiteral("formaPago"));
    if (im.bd
            .escalar(QStringLiteral("SELECT COUNT(*) FROM formaPago WHERE id = :id"),
                     {{QStringLiteral("id"), QVariant::fromValue<qlonglong>(forma)}})
            .toLongLong() == 0)
      r.falla(QStringLiteral("no existe la forma de pago %1 en el catálogo del SAT").arg(forma));
    mt.setString(QStringLiteral("nombre"), nombre);
    mt.setInteger(QStringLiteral("forma"), forma);
    mt.setInteger(QStringLiteral("activo"), r.booleano(QStringLiteral("activo"), true));
    mt.setInteger(QStringLiteral("orden"), r.entero(QStringLiteral("orden"), i + 1));
    mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
    r.termina();
    im.bd.inserta(mt, r.contexto());
  }
}

void u_importaUsuarioEnLinea(TImportacion& im, const QJsonValue& usuario) {
  if (usuario.isUndefined()) return;
  TLectorRegistro r(usuario, QStringLiteral("usuarioEnLinea"));
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO usuarioEnLinea (usuario, cuenta, contrasena, activo, idNegocioFk) "
      "VALUES (:usuario, :cuenta, :contrasena, :activo, :negocio)");
  mt.setString(QStringLiteral("usuario"),
               r.textoRequerido(QStringLiteral("usuario"), kMaxLargoNombre));
  mt.setString(QStringLiteral("cuenta"),
               r.texto(QStringLiteral("cuenta"), QString(), kMaxLargoNombre));
  // Stored encrypted with this installation's key; the invoicing client decrypts it just
  // before sending.
  const QString contrasena = r.texto(QStringLiteral("contrasena"));
  QString cifrada;
  if (!contrasena.isEmpty()) {
    cifrada = crypt(contrasena);
    if (cifrada.isEmpty())
      r.falla(QStringLiteral("no se pudo cifrar la contraseña: ") + signingUltimoError());
  }
  mt.setString(QStringLiteral("contrasena"), cifrada);
  mt.setInteger(QStringLiteral("activo"), r.booleano(QStringLiteral("activo"), true));
  mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
  r.termina();
  im.bd.inserta(mt, r.contexto());
}
