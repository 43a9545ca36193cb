#include "ImportaPrueba.h"

#include <gtest/gtest.h>

#include <QJsonDocument>

#include "catalogo/importador.h"

int importaPrueba(TConexionSesion& conexion, const QByteArray& json) {
  const TResultadoImportacion r = importaCatalogoJson(conexion, json);
  if (!r.ok) {
    ADD_FAILURE() << "Importación rechazada: " << r.error.toStdString();
    return 0;
  }
  return r.idNegocio;
}

int importaPrueba(TConexionSesion& conexion, const QJsonObject& documento) {
  return importaPrueba(conexion, QJsonDocument(documento).toJson(QJsonDocument::Compact));
}

TiendaPrueba::TiendaPrueba(int idNegocio) : uConIds(idNegocio == 1) {
  auto conId = [&](QJsonObject o, int id) {
    if (uConIds) o.insert("id", id);
    return o;
  };
  QJsonObject negocio{{"nombre", "Tienda de prueba"},
                      {"rfc", "TPR010101AB1"},
                      {"razonSocial", "Tienda de Prueba S.A. de C.V."},
                      {"regimenFiscal", "601"},
                      {"calle", "Calle Uno"},
                      {"noExterior", "1"},
                      {"colonia", "Centro"},
                      {"municipio", "Puebla"},
                      {"estado", "Puebla"},
                      {"codigoPostal", "72000"}};
  if (idNegocio > 0) negocio.insert("id", idNegocio);
  uDoc = QJsonObject{
      {"negocio", negocio},
      {"unidades", QJsonArray{QJsonObject{{"descripcion", "Pieza"}, {"claveSAT33", "H87"}}}},
      {"categorias", QJsonArray{conId({{"identidad", "GEN"}, {"etiqueta", "General"}}, 1),
                                conId({{"identidad", "BEB"}, {"etiqueta", "Bebidas"}}, 2)}},
      {"almacenes", QJsonArray{conId({{"clave", "ALM"}, {"nombre", "Almacén"}}, 1)}},
      {"listaPrecios", conId({{"nombre", "Lista general"}}, 1)},
      {"productos", QJsonArray{}},
      {"cajeros", QJsonArray{conId({{"clave", "C1"},
                                    {"nombre", "Carmen"},
                                    {"apellidoPaterno", "Pérez"},
                                    {"apellidoMaterno", "Ruiz"}},
                                   1)}},
      {"cajas",
       QJsonArray{conId({{"clave", "CAJA1"},
                         {"descripcion", "Caja uno"},
                         {"almacen", "ALM"},
                         {"sesion", conId({{"cajero", "C1"},
                                           {"montoApertura", 500},
                                           {"fechaApertura", "2026-01-05 08:00:00"},
                                           {"estacion", "ESTACION-PRUEBA"}},
                                          1)}},
                        1),
                  conId({{"clave", "CAJA2"}, {"descripcion", "Caja dos"}, {"almacen", "ALM"}}, 2)}},
      {"metodosPago", QJsonArray{QJsonObject{{"nombre", "Efectivo"}, {"formaPago", 1}},
                                 QJsonObject{{"nombre", "Tarjeta de crédito"}, {"formaPago", 4}}}}};
}

TiendaPrueba& TiendaPrueba::producto(const QString& clave, const QString& nombre, double precio,
                                     const QString& codigoBarras, double ivaT, double iepsT) {
  QJsonObject p{{"clave", clave},
                {"nombre", nombre},
                {"categoria", "GEN"},
                {"unidad", "Pieza"},
                {"precio", precio},
                {"impuestos", QJsonObject{{"ivaT", ivaT}, {"iepsT", iepsT}}},
                {"existencias", QJsonArray{QJsonObject{{"almacen", "ALM"}, {"existencia", 100}}}}};
  if (uConIds) p.insert("id", uDoc.value("productos").toArray().size() + 1);
  if (!codigoBarras.isEmpty()) p.insert("codigosBarras", QJsonArray{codigoBarras});
  return agrega(QStringLiteral("productos"), p);
}

TiendaPrueba& TiendaPrueba::agrega(const QString& seccion, const QJsonObject& registro) {
  QJsonArray lista = uDoc.value(seccion).toArray();
  lista.append(registro);
  uDoc.insert(seccion, lista);
  return *this;
}

QByteArray TiendaPrueba::json() const { return QJsonDocument(uDoc).toJson(QJsonDocument::Compact); }
