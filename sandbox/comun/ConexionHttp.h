#pragma once
// One client connection of ServidorHttp: reads one request at a time within the server's
// limits, hands it to the server and writes the answer; keeps the connection for the next
// request unless the client or the answer closes it.

#include <QByteArray>
#include <QObject>
#include <QTimer>

#include "ServidorHttp.h"

class QTcpSocket;

class ConexionHttp : public QObject {
 public:
  ConexionHttp(ServidorHttp* servidor, QTcpSocket* socket);

  // Whether a request of this connection is being answered (so it must not be dropped).
  bool atendiendo() const { return uEstado == Estado::Atendiendo; }
  bool espera(quint64 serie) const { return uEstado == Estado::Atendiendo && serie == uSerie; }
  void responde(quint64 serie, int estado, const QByteArray& cuerpo, const QByteArray& tipo,
                const QList<QPair<QByteArray, QByteArray>>& encabezados);
  // Drops the connection at once.
  void cierra();

 private:
  enum class Estado { Encabezados, Cuerpo, Atendiendo, Cerrando };

  void lee();
  void procesa();
  // Parses the request line and headers at the front of the buffer. False when more bytes
  // are needed or the request was refused (the connection is then closing).
  bool leeEncabezados();
  // An answer the server gives on its own, after which the connection closes.
  void falla(int estado, const QString& mensaje);
  void escribe(int estado, const QByteArray& cuerpo, const QByteArray& tipo,
               const QList<QPair<QByteArray, QByteArray>>& encabezados, bool cerrar);
  void venceTiempo();

  ServidorHttp* uServidor;
  QTcpSocket* uSocket;
  QTimer uLimite;
  QByteArray uEntrada;
  Estado uEstado = Estado::Encabezados;
  PeticionHttp uPeticion;
  qint64 uLargoCuerpo = 0;
  bool uCerrarDespues = false;
  bool uContinuarEnviado = false;
  bool uProcesando = false;
  quint64 uSerie = 0;
};
