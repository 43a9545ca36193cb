#include "importador.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>

#include "catalogo/importacion.h"
#include "operaciones/busquedaProductos.h"
#include "util/limites.h"
#include "util/utilerias.h"

namespace {

// The known sections, in the order they are imported.
const char* const kSecciones[] = {"negocio",       "sucursales",   "unidades",  "categorias",
                                  "almacenes",     "listaPrecios", "productos", "promociones",
                                  "kits",          "cajeros",      "cajas",     "metodosPago",
                                  "usuarioEnLinea"};

// A large catalog overflows SQLite's default page cache (2 MB) long before the commit, and
// every insert into a barcode or name index then goes back to the file: the import works
// with a wider cache and leaves the connection as it found it. 64 MB keeps the indexes of a
// million products in memory without dominating the import's footprint.
class TCacheAmplia {
 public:
  explicit TCacheAmplia(TConexionSesion& conexion) : uConexion(conexion) {
    if (conexion.esPostgres()) return;
    TmiddleTier mt(conexion);
    mt.setQuery(QStringLiteral("PRAGMA cache_size"));
    uAnterior = mt.scalar();
    mt.setQuery(QStringLiteral("PRAGMA cache_size = -65536"));
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

// A whole-number "id" member of the object that comes next, noted while the object is checked.
void notaId(TFlujoJson& f, int indice, QVector<QPair<int, qint64>>* ids,
            QVector<QPair<int, qint64>>* idsSesion) {
  f.abreObjeto();
  QString clave;
  while (f.siguienteMiembro(&clave)) {
    double v = 0;
    if (clave == QLatin1String("id") && f.leeNumeroSiHay(&v)) {
      if (v == std::floor(v) && std::fabs(v) < 9e15)
        ids->push_back({indice, static_cast<qint64>(v)});
    } else if (clave == QLatin1String("sesion") && idsSesion &&
               f.siguienteTipo() == TFlujoJson::Tipo::Objeto) {
      QVector<QPair<int, qint64>> deSesion;
      notaId(f, indice, &deSesion, nullptr);
      *idsSesion += deSesion;
    } else {
      f.saltaValor();
    }
  }
}

// First pass: the whole document is checked as JSON (repeated keys and NUL characters
// included) and each section's place, size and explicit ids are noted. Nothing is written.
QHash<QString, TSeccionDocumento> indexa(TFlujoJson& f) {
  QHash<QString, TSeccionDocumento> secciones;
  if (f.siguienteTipo() != TFlujoJson::Tipo::Objeto) {
    f.saltaValor();
    f.terminaDocumento();
    u_errorImportacion(QStringLiteral("documento: debe ser un objeto"));
  }
  f.abreObjeto();
  QString clave;
  while (f.siguienteMiembro(&clave)) {
    TSeccionDocumento s;
    s.nombre = clave;
    s.tipo = f.siguienteTipo();
    s.inicio = f.posicion();
    if (s.tipo == TFlujoJson::Tipo::Objeto) {
      notaId(f, 0, &s.ids, nullptr);
    } else if (s.tipo == TFlujoJson::Tipo::Lista) {
      f.abreLista();
      while (f.siguienteElemento()) {
        if (f.siguienteTipo() == TFlujoJson::Tipo::Objeto)
          notaId(f, s.elementos, &s.ids, &s.idsSesion);
        else
          f.saltaValor();
        ++s.elementos;
      }
    } else {
      f.saltaValor();
    }
    secciones.insert(clave, s);
  }
  f.terminaDocumento();
  return secciones;
}

// Every section is checked before anything is written, so a misspelt section name is refused
// at once rather than after the rest was imported.
void compruebaSecciones(const QHash<QString, TSeccionDocumento>& secciones) {
  QSet<QString> conocidas;
  for (const char* n : kSecciones) conocidas.insert(QString::fromLatin1(n));
  for (auto it = secciones.constBegin(); it != secciones.constEnd(); ++it) {
    if (it.key().startsWith(QLatin1Char('_'))) continue;
    if (!conocidas.contains(it.key()))
      u_errorImportacion(QStringLiteral("documento: campo desconocido \"%1\"").arg(it.key()));
  }
  auto debeSer = [&](const char* nombre, TFlujoJson::Tipo tipo, const char* que) {
    const TSeccionDocumento s = secciones.value(QString::fromLatin1(nombre));
    if (s.presente() && s.tipo != tipo)
      u_errorImportacion(QStringLiteral("documento: el campo \"%1\" debe ser %2")
                             .arg(QString::fromLatin1(nombre), QString::fromUtf8(que)));
  };
  for (const char* n : kSecciones) {
    const bool objeto = qstrcmp(n, "negocio") == 0 || qstrcmp(n, "listaPrecios") == 0 ||
                        qstrcmp(n, "usuarioEnLinea") == 0;
    debeSer(n, objeto ? TFlujoJson::Tipo::Objeto : TFlujoJson::Tipo::Lista,
            objeto ? "un objeto" : "una lista");
  }
  if (!secciones.value(QStringLiteral("negocio")).presente())
    u_errorImportacion(QStringLiteral("documento: falta el campo \"negocio\""));
}

bool tieneIds(const QHash<QString, TSeccionDocumento>& secciones) {
  for (const TSeccionDocumento& s : secciones)
    if (!s.ids.isEmpty() || !s.idsSesion.isEmpty()) return true;
  return false;
}

void importaDocumento(TImportacion& im, TFlujoJson& f,
                      const QHash<QString, TSeccionDocumento>& secciones) {
  // Imports into one PostgreSQL database may run at once: each takes the database's ids and
  // locks the stations and units it decides about. One that brings ids of its own runs alone,
  // so no id another import is handed out can meet them.
  if (im.bd.conexion().esPostgres()) {
    im.bd.escalar(tieneIds(secciones)
                      ? QStringLiteral("SELECT pg_advisory_xact_lock(3, 0)")
                      : QStringLiteral("SELECT pg_advisory_xact_lock_shared(3, 0)"));
  }
  const TSeccionDocumento ausente;
  auto seccion = [&](const char* nombre) -> const TSeccionDocumento& {
    const auto it = secciones.constFind(QString::fromLatin1(nombre));
    return it == secciones.constEnd() ? ausente : *it;
  };
  auto objeto = [&](const char* nombre) {
    const TSeccionDocumento& s = seccion(nombre);
    if (!s.presente()) return QJsonValue(QJsonValue::Undefined);
    f.irA(s.inicio);
    return f.leeValor();
  };
  auto lista = [&](const char* nombre) { return TRecorridoSeccion(f, seccion(nombre)); };
  u_importaNegocio(im, objeto("negocio"));
  auto sucursales = lista("sucursales");
  u_importaSucursales(im, sucursales);
  auto unidades = lista("unidades");
  u_importaUnidades(im, unidades);
  auto categorias = lista("categorias");
  u_importaCategorias(im, categorias);
  auto almacenes = lista("almacenes");
  u_importaAlmacenes(im, almacenes);
  u_importaListaPrecios(im, objeto("listaPrecios"));
  auto productos = lista("productos");
  u_importaProductos(im, productos);
  auto promociones = lista("promociones");
  u_importaPromociones(im, promociones);
  auto kits = lista("kits");
  u_importaKits(im, kits);
  auto cajeros = lista("cajeros");
  u_importaCajeros(im, cajeros);
  auto cajas = lista("cajas");
  u_importaCajas(im, cajas);
  auto metodos = lista("metodosPago");
  u_importaMetodosPago(im, metodos);
  u_importaUsuarioEnLinea(im, objeto("usuarioEnLinea"));
}

TResultadoImportacion importa(TConexionSesion& conexion, TFlujoJson& flujo,
                              const QString& carpetaBase) {
  TResultadoImportacion r;
  QHash<QString, TSeccionDocumento> secciones;
  try {
    secciones = indexa(flujo);
    compruebaSecciones(secciones);
  } catch (const TErrorImportacion& e) {
    r.error = e.mensaje;
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
    importaDocumento(im, flujo, secciones);
    const QString busqueda = u_reconstruyeBusquedaProductos(conexion, im.idNegocio);
    if (!busqueda.isEmpty())
      u_errorImportacion(QStringLiteral("No se pudo preparar la búsqueda de productos: ") +
                         busqueda);
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

}  // namespace

TResultadoImportacion importaCatalogo(TConexionSesion& conexion, const QString& rutaArchivo) {
  QFile f(rutaArchivo);
  if (!f.open(QIODevice::ReadOnly)) {
    TResultadoImportacion r;
    r.error = QStringLiteral("No se pudo leer el archivo %1").arg(rutaArchivo);
    return r;
  }
  TFlujoJson flujo(&f);
  return importa(conexion, flujo, QFileInfo(rutaArchivo).absolutePath());
}

TResultadoImportacion importaCatalogoJson(TConexionSesion& conexion, const QByteArray& json,
                                          const QString& carpetaBase) {
  TFlujoJson flujo(json);
  return importa(conexion, flujo, carpetaBase);
}

// ---- business, branches, units, categories, warehouses, price list ----

void u_importaNegocio(TImportacion& im, const QJsonValue& v) {
  const QString contexto = QStringLiteral("negocio");
  TLectorRegistro r(v, contexto);
  const auto id = r.id();
  if (id)
    im.bd.reservaIds(QStringLiteral("Negocio"), QStringLiteral("idNegocio"), {{0, *id}},
                     [&](int) { return contexto; });
  const QString nombre = r.textoRequerido(QStringLiteral("nombre"), kMaxLargoNombre);
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
      "noExterior, noInterior, colonia, municipio, estado, codigoPostal) VALUES "
      "({ID Negocio.idNegocio}, :nombre, :rfc, :razon, :regimen, :calle, :noExt, :noInt, "
      ":colonia, :municipio, :estado, :cp) RETURNING idNegocio");
  u_enlazaId(mt, id);
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
  im.idNegocio = im.bd.insertaConId(mt, r.contexto());
}

namespace {
std::function<QString(int)> contextos(const QString& seccion) {
  return [seccion](int i) { return u_contextoElemento(seccion, i); };
}
}  // namespace

void u_importaSucursales(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("sucursales");
  im.bd.reservaIds(QStringLiteral("Sucursal"), QStringLiteral("idSucursal"), lista.seccion().ids,
                   contextos(seccion));
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO Sucursal (idSucursal, nombreSucursal, estatus, idNegocioFk) "
      "VALUES ({ID Sucursal.idSucursal}, :nombre, :estatus, :negocio) RETURNING idSucursal");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    u_enlazaId(mt, r.id());
    const QString nombre = r.textoRequerido(QStringLiteral("nombre"), kMaxLargoNombre);
    r.nombraCon(QStringLiteral("nombre"), nombre);
    if (im.sucursales.contains(nombre)) r.falla(QStringLiteral("el nombre se repite"));
    mt.setString(QStringLiteral("nombre"), nombre);
    mt.setInteger(QStringLiteral("estatus"), r.entero(QStringLiteral("estatus"), 1));
    mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
    r.termina();
    im.sucursales.insert(nombre, im.bd.insertaConId(mt, r.contexto()));
  }
}

// Units of measure are one catalogue for every business: a unit already stored with the same
// description and SAT key is reused rather than repeated.
void u_importaUnidades(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("unidades");
  const QString tabla = QStringLiteral("inventarioUnidadesMedida");
  im.bd.reservaIds(tabla, QStringLiteral("ID"), lista.seccion().ids, contextos(seccion), true);
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO inventarioUnidadesMedida (ID, descripcion, conjunto, relacion, claveSAT33) "
      "VALUES ({ID inventarioUnidadesMedida.ID}, :descripcion, :conjunto, :relacion, :clave) "
      "RETURNING ID");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    const auto idExplicito = r.id();
    const QString descripcion = r.textoRequerido(QStringLiteral("descripcion"), kMaxLargoNombre);
    r.nombraCon(QStringLiteral("descripcion"), descripcion);
    const QString clave = r.textoRequerido(QStringLiteral("claveSAT33"), kMaxLargoClave);
    const QString conjunto = r.texto(QStringLiteral("conjunto"));
    const double relacion = r.numero(QStringLiteral("relacion"), 1);
    if (relacion <= 0) r.falla(QStringLiteral("la relación debe ser mayor que cero"));
    r.revisa(u_revisaCantidad(relacion, QStringLiteral("la relación")));
    r.termina();
    if (im.unidades.contains(descripcion)) r.falla(QStringLiteral("la descripción se repite"));

    // Another import may be deciding about the same unit right now.
    im.bd.bloquea(TEscritorCatalogo::bloqueoUnidad, descripcion + QLatin1Char('|') + clave);
    qint64 id = 0;
    if (idExplicito && im.bd.existeId(tabla, QStringLiteral("ID"), *idExplicito)) {
      const QVariantHash misma{
          {QStringLiteral("d"), descripcion},
          {QStringLiteral("c"), clave},
          {QStringLiteral("id"), QVariant::fromValue<qlonglong>(*idExplicito)}};
      if (im.bd
              .escalar(QStringLiteral("SELECT COUNT(*) FROM inventarioUnidadesMedida WHERE ID = "
                                      ":id AND descripcion = :d AND claveSAT33 = :c"),
                       misma)
              .toLongLong() == 0)
        r.falla(QStringLiteral("el id %1 ya existe en la base de datos con otra unidad")
                    .arg(*idExplicito));
      id = *idExplicito;
    } else if (!idExplicito) {
      id = im.bd
               .escalar(QStringLiteral("SELECT MIN(ID) FROM inventarioUnidadesMedida WHERE "
                                       "descripcion = :d AND claveSAT33 = :c"),
                        {{QStringLiteral("d"), descripcion}, {QStringLiteral("c"), clave}})
               .toLongLong();
    }
    if (id <= 0) {
      u_enlazaId(mt, idExplicito);
      mt.setString(QStringLiteral("descripcion"), descripcion);
      mt.setString(QStringLiteral("conjunto"), conjunto);
      mt.setDouble(QStringLiteral("relacion"), relacion);
      mt.setString(QStringLiteral("clave"), clave);
      id = im.bd.insertaConId(mt, r.contexto());
    }
    im.unidades.insert(descripcion, id);
    im.idsUnidades.insert(id);
  }
}

void u_importaCategorias(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("categorias");
  im.bd.reservaIds(QStringLiteral("inventarioCategoria"), QStringLiteral("id"), lista.seccion().ids,
                   contextos(seccion));
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO inventarioCategoria (id, identidad, etiqueta, carpeta, idNegocioFk) "
      "VALUES ({ID inventarioCategoria.id}, :identidad, :etiqueta, :carpeta, :negocio)");
  TmiddleTier& escala = im.bd.sentencia(
      "INSERT INTO ventasDescuentosCategorias (inventarioCategoria_identidad, cantidad, "
      "descuento, idNegocioFk) VALUES (:identidad, :cantidad, :descuento, :negocio)");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    u_enlazaId(mt, r.id());
    const QString identidad = r.textoRequerido(QStringLiteral("identidad"), kMaxLargoClave);
    r.nombraCon(QStringLiteral("identidad"), identidad);
    if (im.categorias.contains(identidad)) r.falla(QStringLiteral("la identidad se repite"));
    im.categorias.insert(identidad);
    mt.setString(QStringLiteral("identidad"), identidad);
    mt.setString(QStringLiteral("etiqueta"),
                 r.texto(QStringLiteral("etiqueta"), identidad, kMaxLargoNombre));
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

void u_importaAlmacenes(TImportacion& im, TRecorridoSeccion& lista) {
  const QString seccion = QStringLiteral("almacenes");
  im.bd.reservaIds(QStringLiteral("inventarioAlmacen"), QStringLiteral("id"), lista.seccion().ids,
                   contextos(seccion));
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO inventarioAlmacen (id, nombre, clave, idSucursal, idNegocioFk) "
      "VALUES ({ID inventarioAlmacen.id}, :nombre, :clave, :sucursal, :negocio) RETURNING id");
  for (int i = 0; i < lista.size(); ++i) {
    TLectorRegistro r(lista.siguiente(), u_contextoElemento(seccion, i));
    u_enlazaId(mt, r.id());
    const QString clave = r.textoRequerido(QStringLiteral("clave"), kMaxLargoClave);
    r.nombraCon(QStringLiteral("clave"), clave);
    if (im.almacenes.contains(clave)) r.falla(QStringLiteral("la clave se repite"));
    mt.setString(QStringLiteral("nombre"),
                 r.textoRequerido(QStringLiteral("nombre"), kMaxLargoNombre));
    mt.setString(QStringLiteral("clave"), clave);
    const QString sucursal = r.texto(QStringLiteral("sucursal"), QString(), kMaxLargoNombre);
    if (sucursal.isEmpty()) {
      mt.setNull(QStringLiteral("sucursal"), QMetaType::LongLong);
    } else {
      if (!im.sucursales.contains(sucursal))
        r.falla(QStringLiteral("no existe la sucursal \"%1\"").arg(sucursal));
      mt.setInteger(QStringLiteral("sucursal"), im.sucursales.value(sucursal));
    }
    mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
    r.termina();
    im.almacenes.insert(clave, im.bd.insertaConId(mt, r.contexto()));
  }
}

void u_importaListaPrecios(TImportacion& im, const QJsonValue& lista) {
  if (lista.isUndefined()) return;
  const QString contexto = QStringLiteral("listaPrecios");
  TLectorRegistro r(lista, contexto);
  const auto id = r.id();
  if (id)
    im.bd.reservaIds(QStringLiteral("ventasListaPrecios"), QStringLiteral("id"), {{0, *id}},
                     [&](int) { return contexto; });
  TmiddleTier& mt = im.bd.sentencia(
      "INSERT INTO ventasListaPrecios (id, nombre, predeterminada, vigenciaDesde, vigenciaHasta, "
      "idNegocioFk) VALUES ({ID ventasListaPrecios.id}, :nombre, 1, :desde, :hasta, :negocio) "
      "RETURNING id");
  u_enlazaId(mt, id);
  mt.setString(QStringLiteral("nombre"),
               r.textoRequerido(QStringLiteral("nombre"), kMaxLargoNombre));
  u_leeVigencia(r, mt);
  mt.setInteger(QStringLiteral("negocio"), im.idNegocio);
  r.termina();
  im.idLista = im.bd.insertaConId(mt, r.contexto());
}
