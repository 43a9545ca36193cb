#pragma once
// The checkout's MercadoPago client: the only code that talks to the MercadoPago API. It sends
// the requests that mercadoPago.h builds over HTTPS, verified against the system's authorities
// plus the station's `caMercadoPago` file (never without verification), and reads the answers
// there too. Calls block, so they run on a worker thread (TbuscaPagosMercado) while the screen
// shows the wait screen. Every failure is only logged, and nothing secret reaches the log.

#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "checkout/reglas/mercadoPago.h"
#include "context/TsistemaDatos.h"
#include "util/resultado.h"
#include "workers/hiloTrabajo.h"

struct TConfiguracionMercado {
  QString urlApi;              // token and payment search
  QString urlPoint;            // terminal of a payment
  QString archivoCa;           // extra certificate authority (PEM); empty: the system's only
  int tiempoEsperaMs = 10000;  // per call
};

TConfiguracionMercado u_configuracionMercado(const TsistemaDatos& sistema);

// buscaConfiguracionMercadoPago: the stored credentials of the business; a failed read answers
// kErrorDatos and leaves the record empty.
TResultado u_leeConfiguracionMercadoPago(int idNegocio, TConexionSesion& conexion,
                                         TDatosMercado* datos);

// Blocking calls on the calling thread's database connection.
class TclienteMercadoPago {
 public:
  using Reloj = std::function<QDateTime()>;
  TclienteMercadoPago(const TConfiguracionMercado& configuracion, TDatosMercado& datos,
                      TConexionSesion& conexion, int idNegocio, Reloj reloj = {});

  // A new token stored with actualizaTokenMercadoPago and kept (encrypted) in the credentials.
  bool getAccessToken();
  // The approved payments created since `inicio` (a begin_date) that pass agregaGrid's checks;
  // a token is obtained first when the stored one is not usable. False when the search did not
  // run.
  bool buscaPagos(const QString& inicio, const QString& monto, const QString& poi,
                  QList<TPagoMercado>* pagos);
  // The terminal serial of a payment; empty when absent or on failure.
  QString buscaPOIid(const QString& pagoId);

 private:
  struct Respuesta {
    int estado = 0;
    QByteArray cuerpo;
    QString error;  // why it failed, already free of secrets; empty on HTTP 2xx
  };
  Respuesta llama(const QByteArray& metodo, const QUrl& url);
  void registra(const QString& texto) const;

  TConfiguracionMercado uConfiguracion;
  TDatosMercado& uDatos;
  TConexionSesion& uConexion;
  int uIdNegocio;
  Reloj uReloj;
  QStringList uSecretos;  // clear values seen in this client's calls, kept out of the log
};

// A lookup's search on a worker thread with its own database connection.
struct TBusquedaMercado {
  bool ok = false;  // the search ran
  QList<TPagoMercado> pagos;
  TDatosMercado datos;  // the credentials afterwards (a renewed token, when one was obtained)
};

class TbuscaPagosMercado {
 public:
  // Returns at once; *ocupado is cleared once resultado() holds the answer.
  void inicia(const TConfiguracionMercado& configuracion, const TDatosMercado& datos,
              std::shared_ptr<TConexionSesion> conexion, int idNegocio, const QString& inicio,
              const QString& monto, const QString& poi, std::atomic<bool>* ocupado);
  TBusquedaMercado resultado() const { return uTrabajo.resultado(); }

 private:
  THiloTrabajo<TBusquedaMercado> uTrabajo;
};
