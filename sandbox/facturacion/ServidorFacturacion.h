#pragma once
// HTTP face of the invoicing-service sandbox: the ticket, status and invoice API the product
// calls, the customer's invoicing portal the receipts' QR codes open, and a control API that tests and the demo use to make the service fail or answer
// late, to invoice a ticket "at the portal" and to fill the store quickly.

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <optional>

#include "AlmacenTickets.h"
#include "ModoServicio.h"
#include "PortalCliente.h"
#include "ServidorHttp.h"

class ServidorFacturacion : public QObject {
  Q_OBJECT
 public:
  // Online-account credentials the service accepts; an empty field is not checked.
  struct Credenciales {
    QString usuario, cuenta, contrasena;
  };

  ServidorFacturacion(AlmacenTickets& almacen, const Credenciales& aceptadas,
                      const ServidorHttp::Opciones& opciones, QObject* parent = nullptr);

  // Listens on 127.0.0.1 (port 0 picks a free one); answers the port, 0 when it cannot.
  quint16 escucha(quint16 puerto) { return uServidor.escucha(puerto); }

 private:
  void cargaTicket(const PeticionHttp& peticion, const RespuestaHttp& respuesta);
  void consultaEstado(const PeticionHttp& peticion, const RespuestaHttp& respuesta);
  void consultaTicket(const QString& identificador, const RespuestaHttp& respuesta);
  void timbraFactura(const PeticionHttp& peticion, const RespuestaHttp& respuesta);
  void consultaFactura(const QString& uuid, const RespuestaHttp& respuesta);
  void pdfFactura(const QString& uuid, const RespuestaHttp& respuesta);
  void cambiaModo(const PeticionHttp& peticion, const RespuestaHttp& respuesta);
  void facturaEnPortal(const QString& identificador, const PeticionHttp& peticion,
                       const RespuestaHttp& respuesta);
  void generaTickets(const PeticionHttp& peticion, const RespuestaHttp& respuesta);
  void respondePortal(const QString& ruta, const PaginaPortal& pagina,
                      const RespuestaHttp& respuesta);
  // The invoice's PDF for the customer, "<uuid>.pdf": the UUID is what the portal showed.
  void pdfPortal(const QString& archivo, const RespuestaHttp& respuesta);
  // The ticket numbers of an invoice's tickets, for its PDF.
  QList<qint64> ticketsDe(const QJsonObject& factura) const;

  bool credencialesAceptadas(const QJsonObject& cuerpo) const;
  // What every POST of the API goes through first: error mode, a JSON body, the business's RFC
  // and the credentials. The body when the call goes on; otherwise it has been answered.
  std::optional<QJsonObject> abreLlamada(const QString& ruta, const PeticionHttp& peticion,
                                         const RespuestaHttp& respuesta);
  // In error mode answers 500 and true.
  bool respondeSiFalla(const QString& ruta, const RespuestaHttp& respuesta);
  // Answers a call of the API: at once, or after the delay when the service is slow.
  void respondeApi(const RespuestaHttp& respuesta, int estado, const QJsonObject& cuerpo);

  AlmacenTickets& uAlmacen;
  Credenciales uCredenciales;
  ModoServicio uModo;
  EnrutadorHttp uRutas;
  ServidorHttp uServidor;
};
