#pragma once
// State of one catalog import, shared by the sections of the document. Sections are read in a
// fixed order, so a reference always points to a record of an earlier section (or an earlier
// record of its own), already written and known here by its natural key.
//
// The document is read twice from its source: a first pass checks the JSON and finds where each
// section starts and which ids its records carry; the second reads the sections one record at a
// time, in the order below, and writes them. Nothing holds the whole document.

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <vector>

#include "catalogo/escritorCatalogo.h"
#include "catalogo/flujoJson.h"
#include "catalogo/indiceTextos.h"
#include "catalogo/lectorJson.h"

// One section of the document, as the first pass found it.
struct TSeccionDocumento {
  QString nombre;
  qint64 inicio = -1;  // byte offset of its value; -1 when the document does not have it
  TFlujoJson::Tipo tipo = TFlujoJson::Tipo::Nulo;
  int elementos = 0;                      // records of a list
  QVector<QPair<int, qint64>> ids;        // records carrying a whole-number "id": (index, id)
  QVector<QPair<int, qint64>> idsSesion;  // the same for "sesion.id" (registers)
  bool presente() const { return inicio >= 0 && tipo != TFlujoJson::Tipo::Nulo; }
};

// The records of a list section, read one at a time from the document.
class TRecorridoSeccion {
 public:
  // `seccion` must be a list (or absent: no records).
  TRecorridoSeccion(TFlujoJson& flujo, const TSeccionDocumento& seccion);
  int size() const { return uSeccion.presente() ? uSeccion.elementos : 0; }
  const TSeccionDocumento& seccion() const { return uSeccion; }
  // The next record; call it size() times.
  QJsonValue siguiente();

 private:
  TFlujoJson& uFlujo;
  const TSeccionDocumento& uSeccion;
  bool uAbierta = false;
};

struct TProductoImportado {
  qint64 id = 0;
  quint32 lugarClave = 0;  // where TImportacion::claves keeps its key
  bool controlaNoSerie = false;
};

struct TCajeroImportado {
  qint64 id = 0;
  int estado = 1;
  QString contexto;
};

struct TImportacion {
  explicit TImportacion(TConexionSesion& conexion) : bd(conexion) {}

  TEscritorCatalogo bd;
  QString carpetaBase;  // image paths are relative to it
  qint64 idNegocio = 0;
  qint64 idLista = 0;                         // default price list, 0 when the document has none
  QHash<QString, qint64> sucursales;          // nombre -> id
  QHash<QString, qint64> unidades;            // descripcion -> id
  QSet<qint64> idsUnidades;                   // ids a product may name
  QSet<QString> categorias;                   // identidad
  QHash<QString, qint64> almacenes;           // clave -> id
  TIndiceTextos claves;                       // product clave -> index in `productos`
  std::vector<TProductoImportado> productos;  // by record index
  QHash<QString, TCajeroImportado> cajeros;   // clave -> cashier

  // `productos[i] (clave "X")`, as errors name a product.
  QString contextoProducto(int indice) const;
  // Lookups by natural key; an unknown key ends the import naming the referring record.
  const TProductoImportado& producto(const TLectorRegistro& r, const QString& clave) const;
  qint64 almacen(const TLectorRegistro& r, const QString& clave) const;
  void compruebaCategoria(const TLectorRegistro& r, const QString& identidad) const;
};

// The five rates of a product or kit, as fractions in [0, 1).
struct TImpuestos {
  double ivaT = 0, ivaR = 0, iepsT = 0, iepsR = 0, isrR = 0;
  // "ivaT|ivaR|iepsT|iepsR|isrR" with the shortest number texts, as the price list holds it.
  QString texto() const;
  // Binds the rates to the parameters :ivaT, :ivaR, :iepsT, :iepsR and :isrR.
  void enlaza(TmiddleTier& mt) const;
};
TImpuestos u_leeImpuestos(TLectorRegistro& r);

// Volume scale rows {cantidad, descuento %} of a product or category.
struct TEscalaImportada {
  double cantidad = 0, descuento = 0;
  QString contexto;
};
QVector<TEscalaImportada> u_leeEscalas(const TLectorRegistro& r, const QJsonArray& escalas);

// vigenciaDesde / vigenciaHasta into the parameters :desde / :hasta (a date alone for the end
// means its last second); an end before the start is refused.
void u_leeVigencia(TLectorRegistro& r, TmiddleTier& mt);

// The record's own id, bound to :id, or null so the database hands one out.
void u_enlazaId(TmiddleTier& mt, const std::optional<qint64>& id);

// Sections, in the order they are read.
void u_importaNegocio(TImportacion& im, const QJsonValue& negocio);
void u_importaSucursales(TImportacion& im, TRecorridoSeccion& lista);
void u_importaUnidades(TImportacion& im, TRecorridoSeccion& lista);
void u_importaCategorias(TImportacion& im, TRecorridoSeccion& lista);
void u_importaAlmacenes(TImportacion& im, TRecorridoSeccion& lista);
void u_importaListaPrecios(TImportacion& im, const QJsonValue& lista);
void u_importaProductos(TImportacion& im, TRecorridoSeccion& lista);
void u_importaPromociones(TImportacion& im, TRecorridoSeccion& lista);
void u_importaKits(TImportacion& im, TRecorridoSeccion& lista);
void u_importaCajeros(TImportacion& im, TRecorridoSeccion& lista);
void u_importaCajas(TImportacion& im, TRecorridoSeccion& lista);
void u_importaMetodosPago(TImportacion& im, TRecorridoSeccion& lista);
void u_importaUsuarioEnLinea(TImportacion& im, const QJsonValue& usuario);
