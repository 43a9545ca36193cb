#pragma once
// HTTP face of the invoicing-service sandbox: the ticket and invoice API the product calls and
// a control API that tests and the demo use to make the service fail or answer late.

#include <QHttpServer>
#include <QHttpServerResponder>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <optional>

#include "AlmacenTickets.h"

class ServidorFacturacion : public QObject {
  Q_OBJECT
 public:
  // Online-account credentials the service accepts; an empty field is not checked.
  struct Credenciales {
    QString usuario, cuenta, contrasena;
  };

  ServidorFacturacion(AlmacenTickets& almacen, const Credenciales& aceptadas,
                      QObject* parent = nullptr);

  // Listens on 127.0.0.1 (port 0 picks a free one); answers the port, 0 when it cannot.
  quint16 escucha(quint16 puerto);

 private:
  using Estado = QHttpServerResponder::StatusCode;
  enum class Modo { Normal, Error, Lento };

  void cargaTicket(const QHttpServerRequest& peticion, QHttpServerResponder&& respuesta);
  void consultaTicket(const QString& identificador, QHttpServerResponder&& respuesta);
  void cambiaModo(const QHttpServerRequest& peticion, QHttpServerResponder&& respuesta);
  void listaTickets(QHttpServerResponder&& respuesta);
  void timbraFactura(const QHttpServerRequest& peticion, QHttpServerResponder&& respuesta);
  void consultaFactura(const QString& uuid, QHttpServerResponder&& respuesta);
  void pdfFactura(const QString& uuid, QHttpServerResponder&& respuesta);
  void listaFacturas(QHttpServerResponder&& respuesta);

  bool credencialesAceptadas(const QJsonObject& cuerpo) const;
  // What every POST of the API goes through first: error mode, a JSON body, the business's RFC
  // and the credentials. The body when the call goes on; otherwise it has been answered and
  // `respuesta` is spent.
  std::optional<QJsonObject> abreLlamada(const QString& ruta, const QHttpServerRequest& peticion,
                                         QHttpServerResponder& respuesta);
  // In error mode answers 500 and true.
  bool respondeSiFalla(const QString& ruta, QHttpServerResponder& respuesta);
  // Answers a call of the API: at once, or after the delay when the service is slow.
  void respondeApi(QHttpServerResponder&& respuesta, const QJsonObject& cuerpo, Estado estado);

  QHttpServer uServidor;
  AlmacenTickets& uAlmacen;
  Credenciales uCredenciales;
  Modo uModo = Modo::Normal;
  int uRetrasoMs = 2000;
};
