#include "PdfFactura.h"

#include <QJsonArray>
#include <QString>
#include <QStringList>
#include <cmath>

#include "DocumentoPdf.h"

namespace {

using Fuente = DocumentoPdf::Fuente;

constexpr double MARGEN = 50;
constexpr double DERECHA = DocumentoPdf::ANCHO - MARGEN;
constexpr double RENGLON = 14;
constexpr double COLUMNA_DESCRIPCION = 110;
constexpr int LETRAS_DESCRIPCION = 60;  // what fits between quantity and amount at 9 points

// An amount as printed: "$1,234.50", rounded to the cent.
QString importeImpreso(double importe) {
  const qint64 centavos = std::llround(std::fabs(importe) * 100);
  QString enteros = QString::number(centavos / 100);
  for (qsizetype i = enteros.size() - 3; i > 0; i -= 3) enteros.insert(i, QLatin1Char(','));
  return QStringLiteral("%1$%2.%3")
      .arg(importe < 0 && centavos != 0 ? QStringLiteral("-") : QString(), enteros)
      .arg(centavos % 100, 2, 10, QLatin1Char('0'));
}

QString cantidadImpresa(double cantidad) {
  QString t = QString::number(cantidad, 'f', 6);
  while (t.endsWith(QLatin1Char('0'))) t.chop(1);
  if (t.endsWith(QLatin1Char('.'))) t.chop(1);
  return t;
}

// Splits a description into lines that fit its column, at spaces when it can.
QStringList renglones(const QString& texto, int letras) {
  QStringList lineas;
  QString actual;
  for (const QString& palabra : texto.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    QString resto = palabra;
    while (resto.size() > letras) {
      if (!actual.isEmpty()) lineas << actual;
      actual.clear();
      lineas << resto.left(letras);
      resto = resto.mid(letras);
    }
    if (!actual.isEmpty() && actual.size() + 1 + resto.size() > letras) {
      lineas << actual;
      actual.clear();
    }
    actual += (actual.isEmpty() ? QString() : QStringLiteral(" ")) + resto;
  }
  if (!actual.isEmpty() || lineas.isEmpty()) lineas << actual;
  return lineas;
}

// Writes down the page and starts another one when the next line would not fit.
class Hoja {
 public:
  explicit Hoja(DocumentoPdf& doc) : uDoc(doc) { uDoc.nuevaPagina(); }

  void espacio(double puntos) { uY -= puntos; }
  void asegura(double puntos) {
    if (uY - puntos >= MARGEN) return;
    uDoc.nuevaPagina();
    uY = DocumentoPdf::ALTO - MARGEN;
  }
  void renglon(const QString& t, Fuente f = Fuente::Normal, double tamano = 10) {
    asegura(RENGLON);
    uDoc.texto(MARGEN, uY, t, f, tamano);
    uY -= RENGLON;
  }
  void dato(const QString& etiqueta, const QString& valor) {
    asegura(RENGLON);
    uDoc.texto(MARGEN, uY, etiqueta, Fuente::Negrita, 9);
    uDoc.texto(MARGEN + 120, uY, valor, Fuente::Normal, 9);
    uY -= RENGLON;
  }
  void importe(const QString& etiqueta, double valor, Fuente f = Fuente::Normal) {
    asegura(RENGLON);
    uDoc.textoDerecha(DERECHA - 90, uY, etiqueta, Fuente::Negrita, 10);
    uDoc.textoDerecha(DERECHA, uY, importeImpreso(valor), f, 10);
    uY -= RENGLON;
  }
  void raya() {
    asegura(6);
    uDoc.linea(MARGEN, uY + 9, DERECHA, uY + 9);
    uY -= 6;
  }
  void encabezadoConceptos() {
    asegura(3 * RENGLON);
    uDoc.texto(MARGEN, uY, QStringLiteral("Cantidad"), Fuente::Negrita, 9);
    uDoc.texto(COLUMNA_DESCRIPCION, uY, QStringLiteral("Descripción"), Fuente::Negrita, 9);
    uDoc.textoDerecha(DERECHA, uY, QStringLiteral("Importe"), Fuente::Negrita, 9);
    uY -= RENGLON;
    raya();
  }
  void concepto(const QJsonObject& c) {
    const QStringList lineas =
        renglones(c.value(QStringLiteral("descripcion")).toString(), LETRAS_DESCRIPCION);
    asegura(RENGLON);
    uDoc.texto(MARGEN, uY, cantidadImpresa(c.value(QStringLiteral("cantidad")).toDouble()),
               Fuente::Normal, 9);
    uDoc.textoDerecha(DERECHA, uY, importeImpreso(c.value(QStringLiteral("importe")).toDouble()),
                      Fuente::Normal, 9);
    for (const QString& l : lineas) {
      asegura(RENGLON);
      uDoc.texto(COLUMNA_DESCRIPCION, uY, l, Fuente::Normal, 9);
      uY -= RENGLON - 2;
    }
    uY -= 2;
  }

 private:
  DocumentoPdf& uDoc;
  double uY = DocumentoPdf::ALTO - MARGEN;
};

QString valor(const QJsonObject& o, const char* campo) {
  return o.value(QLatin1String(campo)).toString();
}

}  // namespace

QByteArray pdfDeFactura(const QJsonObject& registro, const QList<qint64>& tickets) {
  const QJsonObject f = registro.value(QStringLiteral("factura")).toObject();
  const QJsonObject emisor = f.value(QStringLiteral("emisor")).toObject();
  const QJsonObject receptor = f.value(QStringLiteral("receptor")).toObject();
  const bool nota = valor(registro, "tipoDocumento") == QLatin1String("CRE");
  const QString titulo = nota ? QStringLiteral("Nota de crédito") : QStringLiteral("Factura");
  const QString uuid = valor(registro, "uuid");

  DocumentoPdf doc(titulo + QLatin1Char(' ') + uuid);
  Hoja hoja(doc);
  hoja.renglon(titulo, Fuente::Negrita, 18);
  hoja.espacio(6);
  hoja.dato(QStringLiteral("Folio fiscal (UUID)"), uuid);
  hoja.dato(QStringLiteral("Fecha de timbrado"), valor(registro, "fechaTimbrado"));
  hoja.dato(QStringLiteral("Lugar de expedición"), valor(f, "lugarExpedicion"));
  hoja.espacio(6);
  hoja.renglon(QStringLiteral("Emisor"), Fuente::Negrita, 11);
  hoja.dato(QStringLiteral("RFC"), valor(registro, "rfc"));
  hoja.dato(QStringLiteral("Nombre"), valor(emisor, "nombre"));
  if (!valor(emisor, "regimenFiscal").isEmpty())
    hoja.dato(QStringLiteral("Régimen fiscal"), valor(emisor, "regimenFiscal"));
  hoja.espacio(6);
  hoja.renglon(QStringLiteral("Receptor"), Fuente::Negrita, 11);
  hoja.dato(QStringLiteral("RFC"), valor(receptor, "rfc").trimmed().toUpper());
  hoja.dato(QStringLiteral("Nombre"), valor(receptor, "nombre"));
  hoja.dato(QStringLiteral("Código postal"), valor(receptor, "codigoPostal"));
  hoja.dato(QStringLiteral("Régimen fiscal"), valor(receptor, "regimenFiscal"));
  hoja.dato(QStringLiteral("Uso CFDI"), valor(f, "usoCFDI"));
  hoja.espacio(6);
  hoja.dato(QStringLiteral("Forma de pago"), valor(f, "formaPago"));
  hoja.dato(QStringLiteral("Método de pago"), valor(f, "metodoPago"));
  hoja.dato(QStringLiteral("Moneda"), valor(f, "moneda"));
  const QJsonArray relacionados = f.value(QStringLiteral("relacionados")).toArray();
  for (const QJsonValue& r : relacionados)
    hoja.dato(QStringLiteral("Factura relacionada"), r.toString());

  hoja.espacio(10);
  hoja.encabezadoConceptos();
  for (const QJsonValue& c : f.value(QStringLiteral("conceptos")).toArray())
    hoja.concepto(c.toObject());
  hoja.raya();
  hoja.importe(QStringLiteral("Subtotal"), f.value(QStringLiteral("subtotal")).toDouble());
  hoja.importe(QStringLiteral("Descuento"), f.value(QStringLiteral("descuento")).toDouble());
  hoja.importe(QStringLiteral("Total"), f.value(QStringLiteral("total")).toDouble(),
               Fuente::Negrita);

  if (!tickets.isEmpty()) {
    QStringList numeros;
    for (const qint64 n : tickets) numeros << QString::number(n);
    hoja.espacio(10);
    for (const QString& l :
         renglones(QStringLiteral("Tickets: ") + numeros.join(QStringLiteral(", ")), 100))
      hoja.renglon(l, Fuente::Normal, 9);
  }
  return doc.genera();
}
