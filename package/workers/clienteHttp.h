#pragma once
// Blocking HTTP calls for the package's worker threads, which have no event loop of their own,
// and the addresses of the online invoicing service under its configured base URL.

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QPair>
#include <QString>
#include <QUrl>
#include <initializer_list>

struct TrespuestaHttp {
  int estado = 0;  // 0: no HTTP answer
  QByteArray cuerpo;
  QNetworkReply::NetworkError error = QNetworkReply::NoError;
  bool expiro = false;
};

using TencabezadosHttp = QList<QPair<QByteArray, QByteArray>>;

// POSTs a JSON body and waits for the answer or the time limit, whichever comes first. TLS
// peers are verified. `encabezados` go with the request.
TrespuestaHttp u_enviaPostJson(const QUrl& url, const QByteArray& cuerpo, int tiempoEsperaMs,
                               const TencabezadosHttp& encabezados = {});
// From now on the calling thread keeps one network manager and its open connections between
// calls, instead of a new one per call. For long-lived worker threads that call the same
// service again and again (the ticket upload's pool).
void u_conservaRedEnEsteHilo();
// GET with the same waiting and checks; `encabezados` go with the request.
TrespuestaHttp u_enviaGet(const QUrl& url, const TencabezadosHttp& encabezados, int tiempoEsperaMs);

// `ruta` under the base URL ("http://host:port" or with a path of its own). An invalid URL when
// the base is not an http or https address with a host.
QUrl u_urlServicio(const QString& urlBase, const QString& ruta);

// The "mensaje" of a JSON failure answer, trimmed; empty when there is none.
QString u_mensajeDelServicio(const QByteArray& cuerpo);

// What the user is told when the service answered a call with a failure status: rejected
// credentials (401, 403); `rechazo` for the statuses in `rechazos` (the request itself was
// refused); otherwise `fallo`, whose %1 is the status. The service's own message, when it gave
// one, follows after ": " (not for credentials).
QString u_mensajeDeFallo(int estadoHttp, const QByteArray& cuerpo,
                         std::initializer_list<int> rechazos, const QString& rechazo,
                         const QString& fallo);
