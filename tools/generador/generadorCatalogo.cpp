#include "generadorCatalogo.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <random>

namespace {

struct TTipoProducto {
  const char* nombre;
  const char* categoria;
  const char* unidad;
  const char* claveSAT;
};

struct TCategoria {
  const char* identidad;
  const char* etiqueta;
  double ivaT;
  double iepsT;
};

// Basic foods go at 0 %, snacks, sodas and sweets carry 8 % IEPS.
const TCategoria kCategorias[] = {
    {"ABA", "Abarrotes", 0, 0},           {"LAC", "Lácteos", 0, 0},
    {"BEB", "Bebidas", 0.16, 0.08},       {"BOT", "Botanas", 0.16, 0.08},
    {"DUL", "Dulcería", 0.16, 0.08},      {"LIM", "Limpieza", 0.16, 0},
    {"HIG", "Higiene personal", 0.16, 0}, {"FER", "Ferretería", 0.16, 0},
};

const TTipoProducto kTipos[] = {
    {"Arroz súper extra", "ABA", "Kilogramo", "50221200"},
    {"Frijol negro", "ABA", "Kilogramo", "50221200"},
    {"Azúcar estándar", "ABA", "Kilogramo", "50161500"},
    {"Harina de maíz", "ABA", "Kilogramo", "50221300"},
    {"Aceite vegetal", "ABA", "Litro", "50151500"},
    {"Café soluble", "ABA", "Pieza", "50201700"},
    {"Atún en agua", "ABA", "Pieza", "50121500"},
    {"Sopa de pasta", "ABA", "Pieza", "50192100"},
    {"Leche entera", "LAC", "Litro", "50131700"},
    {"Yogur natural", "LAC", "Pieza", "50131800"},
    {"Queso fresco", "LAC", "Kilogramo", "50131800"},
    {"Refresco de cola", "BEB", "Pieza", "50202300"},
    {"Agua mineral", "BEB", "Pieza", "50202300"},
    {"Jugo de naranja", "BEB", "Pieza", "50202300"},
    {"Papas fritas", "BOT", "Pieza", "50192100"},
    {"Cacahuates japoneses", "BOT", "Pieza", "50192100"},
    {"Chocolate con leche", "DUL", "Pieza", "50161800"},
    {"Paleta de caramelo", "DUL", "Pieza", "50161800"},
    {"Galletas de avena", "DUL", "Paquete", "50181900"},
    {"Jabón de tocador", "LIM", "Pieza", "53131608"},
    {"Detergente en polvo", "LIM", "Pieza", "47131800"},
    {"Limpiador multiusos", "LIM", "Litro", "47131800"},
    {"Pasta dental", "HIG", "Pieza", "53131502"},
    {"Papel higiénico", "HIG", "Paquete", "14111704"},
    {"Champú", "HIG", "Pieza", "53131628"},
    {"Foco ahorrador", "FER", "Pieza", "39101600"},
    {"Pilas alcalinas", "FER", "Paquete", "26111700"},
};

const char* const kMarcas[] = {"Don Chuy",  "La Huerta",  "El Molino", "San Rafael",
                               "Doña Lupe", "Los Altos",  "Tres Ríos", "La Ñapa",
                               "El Faro",   "Sol de Oro", "Buen Día",  "Cañada"};
const char* const kPresentaciones[] = {"chico", "mediano", "grande", "familiar", "económico",
                                       "200 g", "500 g",   "1 kg",   "600 ml",   "1 L"};

QJsonObject negocio(const TOpcionesGenerador& o) {
  QJsonObject n{{"nombre", o.nombreNegocio},
                {"rfc", "AGE010101AB1"},
                {"razonSocial", o.nombreNegocio + QStringLiteral(" S.A. de C.V.")},
                {"regimenFiscal", "601"},
                {"calle", "Av. Juárez"},
                {"noExterior", "100"},
                {"colonia", "Centro"},
                {"municipio", "Cuauhtémoc"},
                {"estado", "Ciudad de México"},
                {"codigoPostal", "06000"}};
  if (o.idNegocio > 0) n.insert("id", o.idNegocio);
  return n;
}

QJsonObject impuestos(const TCategoria& c) {
  QJsonObject i;
  if (c.ivaT > 0) i.insert("ivaT", c.ivaT);
  if (c.iepsT > 0) i.insert("iepsT", c.iepsT);
  return i;
}

const TCategoria& categoria(const char* identidad) {
  for (const TCategoria& c : kCategorias)
    if (qstrcmp(c.identidad, identidad) == 0) return c;
  return kCategorias[0];
}

}  // namespace

QString u_claveGenerada(int indice) {
  return QStringLiteral("G%1").arg(indice + 1, 7, 10, QLatin1Char('0'));
}

int u_digitoVerificadorEan13(const QString& doceDigitos) {
  int suma = 0;
  for (int i = 0; i < 12 && i < doceDigitos.size(); ++i)
    suma += doceDigitos[i].digitValue() * (i % 2 == 0 ? 1 : 3);
  return (10 - suma % 10) % 10;
}

QString u_codigoBarrasGenerado(quint64 semilla, int indice) {
  // 750 (Mexico) + 9 digits. Multiplying by a number prime to 10 permutes 0..10^9-1, so
  // different indices never share a code; the seed only shifts the permutation.
  constexpr quint64 kModulo = 1000000000ULL;
  const quint64 cuerpo =
      (static_cast<quint64>(indice) * 387420489ULL + semilla % kModulo) % kModulo;
  const QString doce = QStringLiteral("750%1").arg(cuerpo, 9, 10, QLatin1Char('0'));
  return doce + QString::number(u_digitoVerificadorEan13(doce));
}

bool escribeCatalogo(const TOpcionesGenerador& o, QIODevice& destino) {
  std::mt19937_64 azar(o.semilla);
  bool ok = true;
  auto escribe = [&](const QByteArray& bytes) { ok = ok && destino.write(bytes) == bytes.size(); };
  auto compacto = [](const QJsonValue& v) {
    return v.isObject() ? QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact)
                        : QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact);
  };
  auto entre = [&](quint64 desde, quint64 hasta) { return desde + azar() % (hasta - desde + 1); };

  QJsonObject doc;
  doc.insert("negocio", negocio(o));
  doc.insert("sucursales", QJsonArray{QJsonObject{{"nombre", "Matriz"}}});
  doc.insert("unidades",
             QJsonArray{QJsonObject{{"descripcion", "Pieza"}, {"claveSAT33", "H87"}},
                        QJsonObject{{"descripcion", "Kilogramo"}, {"claveSAT33", "KGM"}},
                        QJsonObject{{"descripcion", "Litro"}, {"claveSAT33", "LTR"}},
                        QJsonObject{{"descripcion", "Paquete"}, {"claveSAT33", "XPK"}}});
  QJsonArray categorias;
  for (const TCategoria& c : kCategorias) {
    QJsonObject cat{{"identidad", c.identidad}, {"etiqueta", c.etiqueta}};
    if (qstrcmp(c.identidad, "LIM") == 0)
      cat.insert("escalas", QJsonArray{QJsonObject{{"cantidad", 6}, {"descuento", 5}}});
    categorias.append(cat);
  }
  doc.insert("categorias", categorias);
  doc.insert("almacenes",
             QJsonArray{QJsonObject{
                 {"clave", "GEN"}, {"nombre", "Almacén general"}, {"sucursal", "Matriz"}}});
  doc.insert("listaPrecios", QJsonObject{{"nombre", "Lista general"}});

  // Everything but the products goes first; the products follow one at a time.
  for (auto it = doc.begin(); it != doc.end(); ++it)
    escribe((it == doc.begin() ? QByteArray("{\"") : QByteArray(",\"")) + it.key().toUtf8() +
            "\":" + compacto(it.value()));
  escribe(doc.isEmpty() ? "{\"productos\":[" : ",\"productos\":[");
  const int nTipos = static_cast<int>(std::size(kTipos));
  for (int i = 0; i < o.productos; ++i) {
    const TTipoProducto& t = kTipos[entre(0, nTipos - 1)];
    const QString nombre =
        QStringLiteral("%1 %2 %3")
            .arg(QString::fromUtf8(t.nombre),
                 QString::fromUtf8(kMarcas[entre(0, std::size(kMarcas) - 1)]),
                 QString::fromUtf8(kPresentaciones[entre(0, std::size(kPresentaciones) - 1)]));
    QJsonObject p{
        {"clave", u_claveGenerada(i)},
        {"nombre", nombre},
        {"categoria", t.categoria},
        {"unidad", t.unidad},
        {"claveSAT", t.claveSAT},
        {"codigosBarras", QJsonArray{u_codigoBarrasGenerado(o.semilla, i)}},
        {"precio", static_cast<double>(entre(500, 50000)) / 100.0},
        {"existencias", QJsonArray{QJsonObject{
                            {"almacen", "GEN"},
                            {"existencia", static_cast<double>(entre(0, 500))},
                            {"costoUnitario", static_cast<double>(entre(300, 30000)) / 100.0}}}}};
    const QJsonObject imp = impuestos(categoria(t.categoria));
    if (!imp.isEmpty()) p.insert("impuestos", imp);
    if (qstrcmp(t.unidad, "Kilogramo") == 0) p.insert("enteroFraccion", 1);
    if (i % 40 == 7)
      p.insert("escalas", QJsonArray{QJsonObject{{"cantidad", 5}, {"descuento", 5}},
                                     QJsonObject{{"cantidad", 12}, {"descuento", 10}}});
    if (i % 1000 == 999) {
      p.insert("controlaNoSerie", true);
      QJsonArray series;
      for (int s = 1; s <= 3; ++s)
        series.append(
            QJsonObject{{"noSerie", QStringLiteral("%1-S%2").arg(u_claveGenerada(i)).arg(s)},
                        {"almacen", "GEN"}});
      p.insert("series", series);
    }
    escribe((i > 0 ? QByteArray(",") : QByteArray()) + compacto(p));
  }
  escribe("]");
  doc = QJsonObject();

  // One promotion of each kind and a kit over the first products, in force for decades so a
  // benchmark never falls outside them.
  if (o.productos >= 6) {
    const QJsonObject vigencia{{"vigenciaDesde", "2020-01-01"}, {"vigenciaHasta", "2099-12-31"}};
    auto conVigencia = [&](QJsonObject p) {
      for (auto it = vigencia.begin(); it != vigencia.end(); ++it) p.insert(it.key(), it.value());
      return p;
    };
    doc.insert(
        "promociones",
        QJsonArray{conVigencia({{"nombre", "3x2 generado"},
                                {"tipo", 0},
                                {"n", 3},
                                {"m", 2},
                                {"productos", QJsonArray{u_claveGenerada(0)}}}),
                   conVigencia({{"nombre", "Compra y llévate regalo"},
                                {"tipo", 1},
                                {"compra", QJsonArray{QJsonObject{{"producto", u_claveGenerada(1)},
                                                                  {"cantidad", 2}}}},
                                {"regalos", QJsonArray{QJsonObject{{"producto", u_claveGenerada(2)},
                                                                   {"cantidad", 1}}}}}),
                   conVigencia({{"nombre", "10 % en botanas"},
                                {"tipo", 2},
                                {"porcentaje", 10},
                                {"categorias", QJsonArray{"BOT"}}}),
                   conVigencia({{"nombre", "La tercera a mitad de precio"},
                                {"tipo", 3},
                                {"n", 2},
                                {"porcentaje", 50},
                                {"productos", QJsonArray{u_claveGenerada(3)}}})});
    doc.insert(
        "kits",
        QJsonArray{conVigencia(
            {{"nombre", "Kit generado"},
             {"claveKit", "KIT-G1"},
             {"precioVenta", 99.9},
             {"impuestos", QJsonObject{{"ivaT", 0.16}}},
             {"productos",
              QJsonArray{QJsonObject{{"producto", u_claveGenerada(4)}, {"cantidad", 1}},
                         QJsonObject{{"producto", u_claveGenerada(5)}, {"cantidad", 2}}}}})});
  }
  doc.insert("cajeros", QJsonArray{QJsonObject{{"clave", "G01"},
                                               {"nombre", "Rosa"},
                                               {"apellidoPaterno", "Martínez"},
                                               {"apellidoMaterno", "Ortiz"}},
                                   QJsonObject{{"clave", "G02"},
                                               {"nombre", "Julián"},
                                               {"apellidoPaterno", "Pérez"},
                                               {"apellidoMaterno", "Núñez"}}});
  doc.insert("cajas",
             QJsonArray{QJsonObject{{"clave", "G-CAJA-1"},
                                    {"descripcion", "Caja generada 1"},
                                    {"almacen", "GEN"},
                                    {"sesion", QJsonObject{{"cajero", "G01"},
                                                           {"montoApertura", 500},
                                                           {"fechaApertura", "2026-01-02 08:00:00"},
                                                           {"estacion", o.estacion}}}},
                        QJsonObject{{"clave", "G-CAJA-2"},
                                    {"descripcion", "Caja generada 2"},
                                    {"almacen", "GEN"}}});
  doc.insert("metodosPago",
             QJsonArray{QJsonObject{{"nombre", "Efectivo"}, {"formaPago", 1}},
                        QJsonObject{{"nombre", "Tarjeta de crédito"}, {"formaPago", 4}},
                        QJsonObject{{"nombre", "Tarjeta de débito"}, {"formaPago", 28}},
                        QJsonObject{{"nombre", "Transferencia"}, {"formaPago", 3}}});
  doc.insert(
      "usuarioEnLinea",
      QJsonObject{{"usuario", "generado"}, {"cuenta", "AGE010101AB1"}, {"contrasena", "generada"}});
  for (auto it = doc.begin(); it != doc.end(); ++it)
    escribe(",\"" + it.key().toUtf8() + "\":" + compacto(it.value()));
  escribe("}");
  return ok;
}

QByteArray generaCatalogoJson(const TOpcionesGenerador& opciones) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  escribeCatalogo(opciones, buffer);
  return buffer.data();
}
