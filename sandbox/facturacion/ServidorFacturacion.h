#pragma once
// HTTP face of the invoicing-service sandbox: the ticket API the product calls and a control
// API that tests and the demo use to make the service fail or answer late.

#include <QHttpServer>
#include <QHttpServerResponder>
#include <QJsonObject>
#include <QObject>
#include <QString>

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

  bool credencialesAceptadas(const QJsonObject& cuerpo) const;
  // Answers a call of the ticket API: at once, or after the delay when the service is slow.
  void respondeApi(QHttpServerResponder&& respuesta, const QJsonObject& cuerpo, Estado estado);

  QHttpServer uServidor;
  AlmacenTickets& uAlmacen;
  Credenciales uCredenciales;
  Modo uModo = Modo::Normal;
  int uRetrasoMs = 2000;
};
