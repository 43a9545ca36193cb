#include "ControlCorreo.h"

#include <QJsonArray>

#include "Bitacora.h"
#include "MensajeMime.h"

namespace {

QJsonObject error(const QString& mensaje) {
  return {{QStringLiteral("ok"), false}, {QStringLiteral("mensaje"), mensaje}};
}

qint64 numero(const QString& texto) {
  bool ok = false;
  const qint64 n = texto.toLongLong(&ok);
  return ok ? n : -1;
}

}  // namespace

ControlCorreo::ControlCorreo(ServidorSmtp& smtp, const ServidorHttp::Opciones& opciones,
                             QObject* parent)
    : QObject(parent),
      uSmtp(smtp),
      uServidor(opciones,
                [this](const PeticionHttp& p, const RespuestaHttp& r) { uRutas.atiende(p, r); }) {
  using A = QStringList;
  BuzonCorreo& buzon = uSmtp.buzon();
  uRutas.agrega("GET", QStringLiteral("/control/mensajes"),
                [&buzon](const PeticionHttp&, const A&, const RespuestaHttp& r) {
                  r.enviaJson(200, {{QStringLiteral("ok"), true},
                                    {QStringLiteral("mensajes"), buzon.resumenes()}});
                });
  uRutas.agrega("DELETE", QStringLiteral("/control/mensajes"),
                [&buzon](const PeticionHttp&, const A&, const RespuestaHttp& r) {
                  QString motivo;
                  const qsizetype n = buzon.borraTodo(&motivo);
                  if (n < 0) return r.enviaJson(500, error(motivo));
                  bitacora(QStringLiteral("%1 mensajes borrados").arg(n));
                  r.enviaJson(200, {{QStringLiteral("ok"), true}, {QStringLiteral("borrados"), n}});
                });
  uRutas.agrega(
      "GET", QStringLiteral("/control/mensajes/<arg>"),
      [&buzon](const PeticionHttp&, const A& a, const RespuestaHttp& r) {
        QJsonObject m = buzon.resumen(numero(a[0]));
        if (m.isEmpty())
          return r.enviaJson(404, error(QStringLiteral("No existe el mensaje %1").arg(a[0])));
        m.insert(QStringLiteral("texto"), leeMensajeMime(buzon.crudo(numero(a[0]))).texto);
        m.insert(QStringLiteral("ok"), true);
        r.enviaJson(200, m);
      });
  uRutas.agrega("GET", QStringLiteral("/control/mensajes/<arg>/eml"),
                [&buzon](const PeticionHttp&, const A& a, const RespuestaHttp& r) {
                  if (buzon.resumen(numero(a[0])).isEmpty())
                    return r.enviaJson(404,
                                       error(QStringLiteral("No existe el mensaje %1").arg(a[0])));
                  r.envia(200, buzon.crudo(numero(a[0])), "message/rfc822");
                });
  uRutas.agrega(
      "GET", QStringLiteral("/control/mensajes/<arg>/adjuntos/<arg>"),
      [&buzon](const PeticionHttp&, const A& a, const RespuestaHttp& r) {
        if (buzon.resumen(numero(a[0])).isEmpty())
          return r.enviaJson(404, error(QStringLiteral("No existe el mensaje %1").arg(a[0])));
        const MensajeMime m = leeMensajeMime(buzon.crudo(numero(a[0])));
        const qint64 n = numero(a[1]);
        if (n < 0 || n >= m.adjuntos.size())
          return r.enviaJson(
              404, error(QStringLiteral("El mensaje %1 no tiene el adjunto %2").arg(a[0], a[1])));
        const AdjuntoMime& adjunto = m.adjuntos.at(n);
        r.envia(200, adjunto.contenido, adjunto.tipo.toLatin1(),
                {{"Content-Disposition",
                  "attachment; filename*=UTF-8''" + adjunto.nombre.toUtf8().toPercentEncoding()}});
      });
  uRutas.agrega("GET", QStringLiteral("/control/rechazos"),
                [this](const PeticionHttp&, const A&, const RespuestaHttp& r) {
                  r.enviaJson(200, {{QStringLiteral("ok"), true},
                                    {QStringLiteral("patrones"),
                                     QJsonArray::fromStringList(uSmtp.rechazos())}});
                });
  uRutas.agrega("POST", QStringLiteral("/control/rechazos"),
                [this](const PeticionHttp& p, const A&, const RespuestaHttp& r) {
                  QString motivo;
                  const QJsonObject cuerpo = p.cuerpoJson(&motivo);
                  const QJsonValue patrones = cuerpo.value(QStringLiteral("patrones"));
                  QStringList lista;
                  if (motivo.isEmpty() && !patrones.isArray())
                    motivo = QStringLiteral("El campo 'patrones' debe ser una lista de textos");
                  for (const QJsonValue& v : patrones.toArray()) {
                    if (!v.isString() && motivo.isEmpty())
                      motivo = QStringLiteral("El campo 'patrones' debe ser una lista de textos");
                    lista << v.toString();
                  }
                  if (motivo.isEmpty()) uSmtp.fijaRechazos(lista, &motivo);
                  if (!motivo.isEmpty()) return r.enviaJson(400, error(motivo));
                  bitacora(QStringLiteral("rechazos: %1").arg(lista.join(QStringLiteral(" | "))));
                  r.enviaJson(200,
                              {{QStringLiteral("ok"), true},
                               {QStringLiteral("patrones"), QJsonArray::fromStringList(lista)}});
                });
  uRutas.agrega(
      "POST", QStringLiteral("/control/modo"),
      [this](const PeticionHttp& p, const A&, const RespuestaHttp& r) {
        QString motivo;
        const QJsonObject cuerpo = p.cuerpoJson(&motivo);
        if (motivo.isEmpty())
          motivo = uSmtp.modo().cambia(
              cuerpo, {QStringLiteral("normal"), QStringLiteral("error"), QStringLiteral("lento")});
        if (!motivo.isEmpty()) return r.enviaJson(400, error(motivo));
        bitacora(QStringLiteral("modo %1, retraso %2 ms")
                     .arg(uSmtp.modo().modo())
                     .arg(uSmtp.modo().retrasoMs()));
        r.enviaJson(200, uSmtp.modo().descripcion());
      });
}
