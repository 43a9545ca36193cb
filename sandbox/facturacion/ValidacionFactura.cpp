#include "ValidacionFactura.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QSet>

#include "ValidacionCampos.h"
#include "ValidacionTicket.h"

using campos::clave;
using campos::falta;
using campos::numero;
using campos::primero;
using campos::texto;

namespace {

// SAT catalogs, only the keys a shop's invoice can carry.
const QStringList& formasPago() {
  static const QStringList c = {
      QStringLiteral("01"), QStringLiteral("02"), QStringLiteral("03"), QStringLiteral("04"),
      QStringLiteral("05"), QStringLiteral("06"), QStringLiteral("08"), QStringLiteral("12"),
      QStringLiteral("13"), QStringLiteral("14"), QStringLiteral("15"), QStringLiteral("17"),
      QStringLiteral("23"), QStringLiteral("24"), QStringLiteral("25"), QStringLiteral("26"),
      QStringLiteral("27"), QStringLiteral("28"), QStringLiteral("29"), QStringLiteral("30"),
      QStringLiteral("31"), QStringLiteral("99")};
  return c;
}

const QStringList& usosCfdi() {
  static const QStringList c = [] {
    QStringList u = {QStringLiteral("G01"), QStringLiteral("G02"), QStringLiteral("G03")};
    for (int i = 1; i <= 8; ++i) u << QStringLiteral("I%1").arg(i, 2, 10, QLatin1Char('0'));
    for (int i = 1; i <= 10; ++i) u << QStringLiteral("D%1").arg(i, 2, 10, QLatin1Char('0'));
    u << QStringLiteral("S01") << QStringLiteral("CP01") << QStringLiteral("CN01")
      << QStringLiteral("P01");
    return u;
  }();
  return c;
}

const QStringList& regimenesFiscales() {
  static const QStringList c = {
      QStringLiteral("601"), QStringLiteral("603"), QStringLiteral("605"), QStringLiteral("606"),
      QStringLiteral("607"), QStringLiteral("608"), QStringLiteral("610"), QStringLiteral("611"),
      QStringLiteral("612"), QStringLiteral("614"), QStringLiteral("615"), QStringLiteral("616"),
      QStringLiteral("620"), QStringLiteral("621"), QStringLiteral("622"), QStringLiteral("623"),
      QStringLiteral("624"), QStringLiteral("625"), QStringLiteral("626")};
  return c;
}

// A text field left out or blank.
bool ausente(const QJsonObject& o, const QString& campo) {
  const QJsonValue v = o.value(campo);
  return v.isUndefined() || v.isNull() || (v.isString() && v.toString().trimmed().isEmpty());
}

QString objeto(const QJsonObject& padre, const QString& campo, const QString& ruta,
               QJsonObject* destino) {
  const QJsonValue v = padre.value(campo);
  if (v.isUndefined() || v.isNull()) return falta(ruta);
  if (!v.isObject()) return QStringLiteral("El campo '%1' debe ser un objeto").arg(ruta);
  *destino = v.toObject();
  return {};
}

QString codigoPostal(const QJsonObject& o, const QString& campo, const QString& ruta,
                     bool requerido) {
  if (ausente(o, campo) && !requerido) return {};
  const QString e = texto(o, campo, ruta, true, true);
  if (!e.isEmpty()) return e;
  static const QRegularExpression cinco(QStringLiteral("^[0-9]{5}$"));
  if (!cinco.match(o.value(campo).toString()).hasMatch())
    return QStringLiteral("El campo '%1' debe tener cinco dígitos").arg(ruta);
  return {};
}

QString validaEmisor(const QJsonObject& factura) {
  QJsonObject emisor;
  QString e = objeto(factura, QStringLiteral("emisor"), QStringLiteral("factura.emisor"), &emisor);
  if (!e.isEmpty()) return e;
  e = texto(emisor, QStringLiteral("nombre"), QStringLiteral("factura.emisor.nombre"), true, true);
  if (!e.isEmpty() || ausente(emisor, QStringLiteral("regimenFiscal"))) return e;
  return clave(emisor, QStringLiteral("regimenFiscal"),
               QStringLiteral("factura.emisor.regimenFiscal"), regimenesFiscales(), true);
}

QString validaReceptor(const QJsonObject& factura) {
  QJsonObject receptor;
  QString e =
      objeto(factura, QStringLiteral("receptor"), QStringLiteral("factura.receptor"), &receptor);
  if (!e.isEmpty()) return e;
  e = texto(receptor, QStringLiteral("rfc"), QStringLiteral("factura.receptor.rfc"), true, true);
  if (!e.isEmpty()) return e;
  const QString rfc = receptor.value(QStringLiteral("rfc")).toString().trimmed().toUpper();
  if (!campos::rfcBienFormado(rfc, QStringLiteral("factura.receptor.rfc")))
    return QStringLiteral("El campo 'factura.receptor.rfc' no es válido");
  const bool especifico = rfc != RFC_PUBLICO_GENERAL;
  e = primero({
      texto(receptor, QStringLiteral("nombre"), QStringLiteral("factura.receptor.nombre"), true,
            true),
      codigoPostal(receptor, QStringLiteral("codigoPostal"),
                   QStringLiteral("factura.receptor.codigoPostal"), especifico),
      ausente(receptor, QStringLiteral("regimenFiscal")) && !especifico
          ? QString()
          : clave(receptor, QStringLiteral("regimenFiscal"),
                  QStringLiteral("factura.receptor.regimenFiscal"), regimenesFiscales(), true),
      texto(receptor, QStringLiteral("correo"), QStringLiteral("factura.receptor.correo"), false,
            false),
  });
  if (!e.isEmpty() || ausente(receptor, QStringLiteral("correo"))) return e;
  static const QRegularExpression correo(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
  if (!correo.match(receptor.value(QStringLiteral("correo")).toString().trimmed()).hasMatch())
    return QStringLiteral("El campo 'factura.receptor.correo' no es un correo válido");
  return {};
}

// A list of identifiers: texts, not blank, none twice. `cuantos` gets its length.
QString listaIdentificadores(const QJsonObject& factura, const QString& campo, qsizetype* cuantos) {
  const QString ruta = QStringLiteral("factura.") + campo;
  *cuantos = 0;
  const QJsonValue v = factura.value(campo);
  if (v.isUndefined() || v.isNull()) return {};
  if (!v.isArray()) return QStringLiteral("El campo '%1' debe ser una lista").arg(ruta);
  const QJsonArray lista = v.toArray();
  QSet<QString> vistos;
  for (qsizetype i = 0; i < lista.size(); ++i) {
    const QJsonValue id = lista.at(i);
    if (!id.isString() || id.toString().trimmed().isEmpty())
      return QStringLiteral("El campo '%1[%2]' debe ser un identificador").arg(ruta).arg(i);
    if (vistos.contains(id.toString().trimmed()))
      return QStringLiteral("'%1' aparece más de una vez en '%2'").arg(id.toString(), ruta);
    vistos.insert(id.toString().trimmed());
  }
  *cuantos = lista.size();
  return {};
}

QString validaConceptos(const QJsonObject& factura, qsizetype* cuantos) {
  *cuantos = 0;
  const QJsonValue v = factura.value(QStringLiteral("conceptos"));
  if (v.isUndefined() || v.isNull()) return {};
  if (!v.isArray()) return QStringLiteral("El campo 'factura.conceptos' debe ser una lista");
  const QJsonArray lista = v.toArray();
  for (qsizetype i = 0; i < lista.size(); ++i) {
    const QString e = validaConcepto(lista.at(i), QStringLiteral("factura.conceptos[%1]").arg(i));
    if (!e.isEmpty()) return e;
  }
  *cuantos = lista.size();
  return {};
}

}  // namespace

QString validaFactura(const QJsonObject& cuerpo) {
  QJsonObject f;
  QString e = objeto(cuerpo, QStringLiteral("factura"), QStringLiteral("factura"), &f);
  if (!e.isEmpty()) return e;
  static const QStringList tipos = {QStringLiteral("FAC"), QStringLiteral("CRE")};
  static const QStringList metodos = {QStringLiteral("PUE"), QStringLiteral("PPD")};
  static const QStringList monedas = {QStringLiteral("MXN")};
  qsizetype tickets = 0, relacionados = 0, conceptos = 0;
  e = primero({
      clave(f, QStringLiteral("tipoDocumento"), QStringLiteral("factura.tipoDocumento"), tipos,
            true),
      clave(f, QStringLiteral("formaPago"), QStringLiteral("factura.formaPago"), formasPago(),
            true),
      clave(f, QStringLiteral("metodoPago"), QStringLiteral("factura.metodoPago"), metodos, true),
      clave(f, QStringLiteral("moneda"), QStringLiteral("factura.moneda"), monedas, true),
      codigoPostal(f, QStringLiteral("lugarExpedicion"), QStringLiteral("factura.lugarExpedicion"),
                   true),
      clave(f, QStringLiteral("usoCFDI"), QStringLiteral("factura.usoCFDI"), usosCfdi(), true),
      validaEmisor(f),
      validaReceptor(f),
      listaIdentificadores(f, QStringLiteral("tickets"), &tickets),
      listaIdentificadores(f, QStringLiteral("relacionados"), &relacionados),
      validaConceptos(f, &conceptos),
      numero(f, QStringLiteral("subtotal"), QStringLiteral("factura.subtotal"), true, 0),
      numero(f, QStringLiteral("descuento"), QStringLiteral("factura.descuento"), true, 0),
      numero(f, QStringLiteral("total"), QStringLiteral("factura.total"), true, 0),
  });
  if (!e.isEmpty()) return e;
  if (f.value(QStringLiteral("tipoDocumento")).toString() == QLatin1String("CRE")) {
    if (relacionados == 0)
      return QStringLiteral(
          "La nota de crédito debe relacionar al menos una factura en 'factura.relacionados'");
    if (conceptos == 0)
      return QStringLiteral(
          "La nota de crédito debe tener al menos un concepto en 'factura.conceptos'");
  } else if (tickets == 0 && conceptos == 0) {
    return QStringLiteral(
        "La factura debe cubrir al menos un ticket en 'factura.tickets' o traer sus conceptos en "
        "'factura.conceptos'");
  }
  return {};
}
