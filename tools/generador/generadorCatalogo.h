#pragma once
// Generated catalogs for benchmarks and load tests: N products of a grocery shop with unique
// 13-digit barcodes, a mix of taxes, some volume scales, one promotion of each kind, one kit,
// one warehouse with stock and one register open on a given station. The same options give
// the same document, byte for byte. The document is written product by product, so a million
// products never sit in memory.

#include <QByteArray>
#include <QString>

class QIODevice;

struct TOpcionesGenerador {
  int productos = 1000;
  quint64 semilla = 1;
  // Business id written into the document; 0 leaves it to the import (a second business in
  // the same database). Products carry no ids: they are found by clave or barcode.
  int idNegocio = 1;
  QString estacion = QStringLiteral("CAJA-GENERADA-1");
  QString nombreNegocio = QStringLiteral("Abarrotes Generados");
};

// False when the device refused to take the bytes.
bool escribeCatalogo(const TOpcionesGenerador& opciones, QIODevice& destino);
QByteArray generaCatalogoJson(const TOpcionesGenerador& opciones);

// Key and barcode of product `indice` (0-based) of a generated catalog, so a benchmark can
// read a product without parsing the document.
QString u_claveGenerada(int indice);
QString u_codigoBarrasGenerado(quint64 semilla, int indice);

// EAN-13 check digit of the first 12 digits.
int u_digitoVerificadorEan13(const QString& doceDigitos);
