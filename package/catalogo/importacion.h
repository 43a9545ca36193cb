#pragma once
// State of one catalog import, shared by the sections of the document. Sections are read in a
// fixed order, so a reference always points to a record of an earlier section (or an earlier
// record of its own), already written and known here by its natural key.

#include <QHash>
#include <QSet>
#include <QString>

#include "catalogo/escritorCatalogo.h"
#include "catalogo/lectorJson.h"

struct TProductoImportado {
  qint64 id = 0;
  bool controlaNoSerie = false;
  QString contexto;
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
  qint64 idLista = 0;                            // default price list, 0 when the document has none
  QHash<QString, qint64> sucursales;             // nombre -> id
  QHash<QString, qint64> unidades;               // descripcion -> id
  QSet<qint64> idsUnidades;                      // ids a product may name
  QSet<QString> categorias;                      // identidad
  QHash<QString, qint64> almacenes;              // clave -> id
  QHash<QString, TProductoImportado> productos;  // clave -> product
  QHash<QString, TCajeroImportado> cajeros;      // clave -> cashier

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

// Sections, in the order they are read.
void u_importaNegocio(TImportacion& im, const QJsonValue& negocio);
void u_importaSucursales(TImportacion& im, const QJsonArray& lista);
void u_importaUnidades(TImportacion& im, const QJsonArray& lista);
void u_importaCategorias(TImportacion& im, const QJsonArray& lista);
void u_importaAlmacenes(TImportacion& im, const QJsonArray& lista);
void u_importaListaPrecios(TImportacion& im, const QJsonValue& lista);
void u_importaProductos(TImportacion& im, const QJsonArray& lista);
void u_importaPromociones(TImportacion& im, const QJsonArray& lista);
void u_importaKits(TImportacion& im, const QJsonArray& lista);
void u_importaCajeros(TImportacion& im, const QJsonArray& lista);
void u_importaCajas(TImportacion& im, const QJsonArray& lista);
void u_importaMetodosPago(TImportacion& im, const QJsonArray& lista);
void u_importaUsuarioEnLinea(TImportacion& im, const QJsonValue& usuario);
