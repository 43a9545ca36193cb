#include "importador.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>

#include "catalogo/importacion.h"
#include "util/utilerias.h"

namespace {

// The byte offset of a parse error as line and column, counted the way an editor shows them.
QString posicionJson(const QByteArray& json, int desplazamiento) {
  int linea = 1, columna = 1;
  for (int i = 0; i < desplazamiento && i < json.size(); ++i) {
    if (json[i] == '\n') {
      ++linea;
      columna = 1;
    } else if ((json[i] & 0xC0) != 0x80) {
      ++columna;
    }
  }
  return QStringLiteral("posición %1 (línea %2, columna %3)")
      .arg(desplazamiento)
      .arg(linea)
      .arg(columna);
}

// A large catalog overflows SQLite's default page cache (2 MB) long before the commit, and
// every insert into a barcode or name index then goes back to the file: the import works
// with a wider cache and leaves the connection as it found it.
class TCacheAmplia {
 public:
  explicit TCacheAmplia(TConexionSesion& conexion) : uConexion(conexion) {
    if (conexion.esPostgres()) return;
    TmiddleTier mt(conexion);
    mt.setQuery(QStringLiteral("PRAGMA cache_size"));
    uAnterior = mt.scalar();
    mt.setQuery(QStringLiteral("PRAGMA cache_size = -262144"));
    mt.nonQuery();
  }
  ~TCacheAmplia() {
    if (!uAnterior.isValid()) return;
    TmiddleTier mt(uConexion);
    mt.setQuery(QStringLiteral("PRAGMA cache_size = %1").arg(uAnterior.toLongLong()));
    mt.nonQuery();
  }

 private:
  TConexionSesion& uConexion;
  QVariant uAnterior;
};

void importaDocumento(TImportacion& im, const QJsonValue& raiz) {
  // Every section is taken before anything is written, so a misspelt section name is refused
  // at once rather than after the rest was imported.
  TLectorRegistro doc(raiz, QStringLiteral("documento"));
  const QJsonValue negocio = doc.objeto(QStringLiteral("negocio"));
  if (negocio.isUndefined()) doc.falla(QStringLiteral("falta el campo \"negocio\""));
  const QJsonArray sucursales = doc.lista(QStringLiteral("sucursales"));
  const QJsonArray unidades = doc.lista(QStringLiteral("unidades"));
  const QJsonArray categorias = doc.lista(QStringLiteral("categorias"));
  const QJsonArray almacenes = doc.lista(QStringLiteral("almacenes"));
  const QJsonValue lista = doc.objeto(QStringLiteral("listaPrecios"));
  const QJsonArray productos = doc.lista(QStringLiteral("productos"));
  const QJsonArray promociones = doc.lista(QStringLiteral("promociones"));
  const QJsonArray kits = doc.lista(QStringLiteral("kits"));
  const QJsonArray cajeros = doc.lista(QStringLiteral("cajeros"));
  const QJsonArray cajas = doc.lista(QStringLiteral("cajas"));
  const QJsonArray metodos = doc.lista(QStringLiteral("metodosPago"));
  const QJsonValue usuario = doc.objeto(QStringLiteral("usuarioEnLinea"));
  doc.termina();

  u_importaNegocio(im, negocio);
  u_importaSucursales(im, sucursales);
  u_importaUnidades(im, unidades);
  u_importaCategorias(im, categorias);
  u_importaAlmacenes(im, almacenes);
  u_importaListaPrecios(im, lista);
  u_importaProductos(im, productos);
  u_importaPromociones(im, promociones);
  u_importaKits(im, kits);
  u_importaCajeros(im, cajeros);
  u_importaCajas(im, cajas);
  u_importaMetodosPago(im, metodos);
  u_importaUsuarioEnLinea(im, usuario);
  im.bd.avanzaSecuencias();
}

}  // namespace

TResultadoImportacion importaCatalogo(TConexionSesion& conexion, const QString& rutaArchivo) {
  QFile f(rutaArchivo);
  if (!f.open(QIODevice::ReadOnly)) {
    TResultadoImportacion r;
    r.error = QStringLiteral("No se pudo leer el archivo %1").arg(rutaArchivo);
    return r;
  }
  return importaCatalogoJson(conexion, f.readAll(), QFileInfo(rutaArchivo).absolutePath());
}

TResultadoImportacion importaCatalogoJson(TConexionSesion& conexion, const QByteArray& json,
                                          const QString& carpetaBase) {
  TResultadoImportacion r;
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
  if (error.error != QJsonParseError::NoError) {
    r.error = QStringLiteral("JSON mal formado en la %1: %2")
                  .arg(posicionJson(json, error.offset), error.errorString());
    return r;
  }
  TmiddleTier transaccion(conexion);
  TCacheAmplia cache(conexion);
  if (!transaccion.transaccionInicia(true)) {
    r.error = QStringLiteral("No se pudo iniciar la transacción: ") + transaccion.ultimoError();
    return r;
  }
  try {
    TImportacion im(conexion);
    im.carpetaBase = carpetaBase;
    importaDocumento(im, doc.isObject() ? QJsonValue(doc.object()) : QJsonValue(doc.array()));
    if (!transaccion.transaccionTermina())
      u_errorImportacion(QStringLiteral("No se pudo confirmar la importación: ") +
                         transaccion.ultimoError());
    r.ok = true;
    r.idNegocio = static_cast<int>(im.idNegocio);
    r.registros = im.bd.registros();
  } catch (const TErrorImportacion& e) {
    transaccion.transaccionRollback();
    r.error = e.mensaje;
  }
  return r;
}

// ---- business, branches, units, categories, warehouses, price list ----

void u_importaNegocio(TImportacion& im, const QJsonValue& v) {
  const QJsonArray uno{v};
  const QString contexto = QStringLiteral("negocio");
  im.idNegocio = im.bd.preparaIds(QStringLiteral("Negocio"), QStringLiteral("idNegocio"), uno,
                                  [&](int) { return contexto; })[0];
  TLectorRegistro r(v, contexto);
  r.id();
  const QString nombre = r.textoRequerido(QStringLiteral("nombre"));
  const QString rfc = r.texto(QStringLiteral("rfc")).toUpper();
  static const QRegularExpression formatoRfc(QStringLiteral("^[A-ZÑ&]{3,4}[0-9]{6}[A-Z0-9]{3}$"));
  if (!rfc.isEmpty() && !formatoRfc.match(rfc).hasMatch())
    r.falla(QStringLiteral("el RFC \"%1\" no tiene un formato válido").arg(rfc));
  const QString regimen = r.texto(QStringLiteral("regimenFiscal"));
  static const QRegularExpression tresDigitos(QStringLiteral("^[0-9]{3}$"));
  if (!regimen.isEmpty() && !tresDigitos.match(regimen).hasMatch())
    r.falla(QStringLiteral("el régimen fiscal debe ser una clave de 3 dígitos (\"601\")"));
  const QString cp = r.texto(QStringLiteral("codigoPostal"));
  static const QRegularExpression cincoDigitos(QStringLiteral("^[0-9]{5}$"));
  if (!cp.isEmpty() && !cincoDigitos.match(cp).hasMatch())
    r.falla(QStringLiteral("el código postal debe tener 5 dígitos"));

  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO Negocio (idNegocio, nombre, rfc, razonSocial, regimenFiscal, calle, "
      "noExterior, noInterior, colonia, municipio, estado, codigoPostal) VALUES (:id, :nombre, "
      ":rfc, :razon, :regimen, :calle, :noExt, :noInt, :colonia, :municipio, :estado, :cp)");
  mt.setInteger(QStringLiteral("id"), im.idNegocio);
  mt.setString(QStringLiteral("nombre"), nombre);
  mt.setString(QStringLiteral("rfc"), rfc);
  mt.setString(QStringLiteral("razon"), r.texto(QStringLiteral("razonSocial")));
  mt.setString(QStringLiteral("regimen"), regimen);
  mt.setString(QStringLiteral("calle"), r.texto(QStringLiteral("calle")));
  mt.setString(QStringLiteral("noExt"), r.texto(QStringLiteral("noExterior")));
  mt.setString(QStringLiteral("noInt"), r.texto(QStringLiteral("noInterior")));
  mt.setString(QStringLiteral("colonia"), r.texto(QStringLiteral("colonia")));
  mt.setString(QStringLiteral("municipio"), r.texto(QStringLiteral("municipio")));
  mt.setString(QStringLiteral("estado"), r.texto(QStringLiteral("estado")));
  mt.setString(QStringLiteral("cp"), cp);
  r.termina();
  im.bd.inserta(mt, r.contexto());
}

void u_importaSucursales(TImportacion& im, const QJsonArray& lista) {
  const QString seccion = QStringLiteral("sucursales");
  const auto ids =
      im.bd.preparaIds(QStringLiteral("Sucursal"), QStringLiteral("idSucursal"), lista, seccion);
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO Sucursal (idSucursal, nombreSucursal, estatus, idNegocioFk) "
      "VALUES (:id, :nombre, :estatus, :negocio)");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista[i], u_contextoElemento(seccion, i));
    r.id();
    const QString nombre = r.textoRequerido(QStringLiteral("nombre"));
    r.nombraCon(QStringLiteral("nombre"), nombre);
    if (im.sucursales.contains(nombre)) r.falla(QStringLiteral("el nombre se repite"));
    im.sucursales.insert(nombre, ids[i]);
    mt.setInteger(QStringLiteral("id"), ids[i]);
    mt.setString(QStringLiteral("nombre"), nombre);
    mt.setInteger(QStringLiteral("estatus"), r.entero(QStringLiteral("estatus"), 1));
    mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
    r.termina();
    im.bd.inserta(mt, r.contexto());
  }
}

// Units of measure are one catalogue for every business: a unit already stored with the same
// description and SAT key is reused rather than repeated.
void u_importaUnidades(TImportacion& im, const QJsonArray& lista) {
  const QString seccion = QStringLiteral("unidades");
  const QString tabla = QStringLiteral("inventarioUnidadesMedida");
  const auto ids = im.bd.preparaIds(tabla, QStringLiteral("ID"), lista, seccion, true);
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO inventarioUnidadesMedida (ID, descripcion, conjunto, relacion, claveSAT33) "
      "VALUES (:id, :descripcion, :conjunto, :relacion, :clave)");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista[i], u_contextoElemento(seccion, i));
    const auto idExplicito = r.id();
    const QString descripcion = r.textoRequerido(QStringLiteral("descripcion"));
    r.nombraCon(QStringLiteral("descripcion"), descripcion);
    const QString clave = r.textoRequerido(QStringLiteral("claveSAT33"));
    const QString conjunto = r.texto(QStringLiteral("conjunto"));
    const double relacion = r.numero(QStringLiteral("relacion"), 1);
    if (relacion <= 0) r.falla(QStringLiteral("la relación debe ser mayor que cero"));
    r.termina();
    if (im.unidades.contains(descripcion)) r.falla(QStringLiteral("la descripción se repite"));

    qint64 id = ids[i];
    bool guardada = false;
    if (idExplicito && im.bd.existeId(tabla, QStringLiteral("ID"), id)) {
      const QVariantHash misma{{QStringLiteral("d"), descripcion},
                               {QStringLiteral("c"), clave},
                               {QStringLiteral("id"), QVariant::fromValue<qlonglong>(id)}};
      if (im.bd
              .escalar(QStringLiteral("SELECT COUNT(*) FROM inventarioUnidadesMedida WHERE ID = "
                                      ":id AND descripcion = :d AND claveSAT33 = :c"),
                       misma)
              .toLongLong() == 0)
        r.falla(QStringLiteral("el id %1 ya existe en la base de datos con otra unidad").arg(id));
      guardada = true;
    } else if (!idExplicito) {
      const QVariant previa = im.bd.escalar(
          QStringLiteral("SELECT MIN(ID) FROM inventarioUnidadesMedida WHERE descripcion = :d "
                         "AND claveSAT33 = :c"),
          {{QStringLiteral("d"), descripcion}, {QStringLiteral("c"), clave}});
      if (previa.toLongLong() > 0) {
        id = previa.toLongLong();
        guardada = true;
      }
    }
    im.unidades.insert(descripcion, id);
    im.idsUnidades.insert(id);
    if (guardada) continue;
    mt.setInteger(QStringLiteral("id"), id);
    mt.setString(QStringLiteral("descripcion"), descripcion);
    mt.setString(QStringLiteral("conjunto"), conjunto);
    mt.setDouble(QStringLiteral("relacion"), relacion);
    mt.setString(QStringLiteral("clave"), clave);
    im.bd.inserta(mt, r.contexto());
  }
}

void u_importaCategorias(TImportacion& im, const QJsonArray& lista) {
  const QString seccion = QStringLiteral("categorias");
  const auto ids =
      im.bd.preparaIds(QStringLiteral("inventarioCategoria"), QStringLiteral("id"), lista, seccion);
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO inventarioCategoria (id, identidad, etiqueta, carpeta, idNegocioFk) "
      "VALUES (:id, :identidad, :etiqueta, :carpeta, :negocio)");
  TmiddleTier& escala = im.bd.sentencia(
      "INSERT INTO ventasDescuentosCategorias (inventarioCategoria_identidad, cantidad, "
      "descuento, idNegocioFk) VALUES (:identidad, :cantidad, :descuento, :negocio)");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista[i], u_contextoElemento(seccion, i));
    r.id();
    const QString identidad = r.textoRequerido(QStringLiteral("identidad"));
    r.nombraCon(QStringLiteral("identidad"), identidad);
    if (im.categorias.contains(identidad)) r.falla(QStringLiteral("la identidad se repite"));
    im.categorias.insert(identidad);
    mt.setInteger(QStringLiteral("id"), ids[i]);
    mt.setString(QStringLiteral("identidad"), identidad);
    mt.setString(QStringLiteral("etiqueta"), r.texto(QStringLiteral("etiqueta"), identidad));
    mt.setString(QStringLiteral("carpeta"), r.texto(QStringLiteral("carpeta")));
    mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
    const QJsonArray escalas = r.lista(QStringLiteral("escalas"));
    r.termina();
    im.bd.inserta(mt, r.contexto());
    for (const TEscalaImportada& e : u_leeEscalas(r, escalas)) {
      escala.setString(QStringLiteral("identidad"), identidad);
      escala.setDouble(QStringLiteral("cantidad"), e.cantidad);
      escala.setDouble(QStringLiteral("descuento"), e.descuento);
      escala.setInteger(QStringLiteral("negocio"), im.idNegocio);
      im.bd.inserta(escala, e.contexto);
    }
  }
}

void u_importaAlmacenes(TImportacion& im, const QJsonArray& lista) {
  const QString seccion = QStringLiteral("almacenes");
  const auto ids =
      im.bd.preparaIds(QStringLiteral("inventarioAlmacen"), QStringLiteral("id"), lista, seccion);
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO inventarioAlmacen (id, nombre, clave, idSucursal, idNegocioFk) "
      "VALUES (:id, :nombre, :clave, :sucursal, :negocio)");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista[i], u_contextoElemento(seccion, i));
    r.id();
    const QString clave = r.textoRequerido(QStringLiteral("clave"));
    r.nombraCon(QStringLiteral("clave"), clave);
    if (im.almacenes.contains(clave)) r.falla(QStringLiteral("la clave se repite"));
    im.almacenes.insert(clave, ids[i]);
    mt.setInteger(QStringLiteral("id"), ids[i]);
    mt.setString(QStringLiteral("nombre"), r.textoRequerido(QStringLiteral("nombre")));
    mt.setString(QStringLiteral("clave"), clave);
    const QString sucursal = r.texto(QStringLiteral("sucursal"));
    if (sucursal.isEmpty()) {
      mt.setNull(QStringLiteral("sucursal"), QMetaType::LongLong);
    } else {
      if (!im.sucursales.contains(sucursal))
        r.falla(QStringLiteral("no existe la sucursal \"%1\"").arg(sucursal));
      mt.setInteger(QStringLiteral("sucursal"), im.sucursales.value(sucursal));
    }
    mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
    r.termina();
    im.bd.inserta(mt, r.contexto());
  }
}

void u_importaListaPrecios(TImportacion& im, const QJsonValue& lista) {
  if (lista.isUndefined()) return;
  const QString contexto = QStringLiteral("listaPrecios");
  im.idLista = im.bd.preparaIds(QStringLiteral("ventasListaPrecios"), QStringLiteral("id"),
                                QJsonArray{lista}, [&](int) { return contexto; })[0];
  TLectorRegistro r(lista, contexto);
  r.id();
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO ventasListaPrecios (id, nombre, predeterminada, vigenciaDesde, vigenciaHasta, "
      "idNegocioFk) VALUES (:id, :nombre, 1, :desde, :hasta, :negocio)");
  mt.setInteger(QStringLiteral("id"), im.idLista);
  mt.setString(QStringLiteral("nombre"), r.textoRequerido(QStringLiteral("nombre")));
  u_leeVigencia(r, mt);
  mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
  r.termina();
  im.bd.inserta(mt, r.contexto());
}
