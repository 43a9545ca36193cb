#pragma once
// The receipt model the checkout, the reprint and the test page fill before printing, and the
// record handed to the receipt printer.

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>
#include <array>

// One payment line. Entry 0 of the seven is cash; 1..6 are the further payment rows.
struct tFormaPago {
  int id = 0;
  QString nombre;
  QString valor;  // the amount exactly as typed
  QString referencia;
  QVariant servicioExterno;  // null, or 1 once matched with an external-service payment
};

using TFormasPago = std::array<tFormaPago, 7>;

class TConcepto {
 public:
  void setCantidad(double v) { uCantidad = v; }
  void setDescripcion(const QString& v) { uDescripcion = v; }
  void setValorUnitario(double v) { uValorUnitario = v; }
  void setImporte(double v) { uImporte = v; }
  void setCategoria(const QString& v) { uCategoria = v; }

  double getCantidad() const { return uCantidad; }
  QString getDescripcion() const { return uDescripcion; }
  double getValorUnitario() const { return uValorUnitario; }
  double getImporte() const { return uImporte; }
  QString getCategoria() const { return uCategoria; }

 private:
  double uCantidad = 0;
  QString uDescripcion;
  double uValorUnitario = 0;
  double uImporte = 0;
  QString uCategoria;
};

// A titled amount at the foot of the ticket ("Total", "Su Pago", ...), already formatted.
class TCampoAdicional {
 public:
  TCampoAdicional() = default;
  TCampoAdicional(const QString& titulo, const QString& valor) : uTitulo(titulo), uValor(valor) {}
  void setTitulo(const QString& v) { uTitulo = v; }
  void setValor(const QString& v) { uValor = v; }
  QString getTitulo() const { return uTitulo; }
  QString getValor() const { return uValor; }

 private:
  QString uTitulo;
  QString uValor;
};

// A free text line of the ticket (the invoicing portal line, the ticket identifier).
class TEtiqueta {
 public:
  void setValor(const QString& v) { uValor = v; }
  QString getValor() const { return uValor; }

 private:
  QString uValor;
};

class TImpresionTicket {
 public:
  void setNombreNegocio(const QString& v) { uNombreNegocio = v; }
  void setRfc(const QString& v) { uRfc = v; }
  void setRazon(const QString& v) { uRazon = v; }
  void setLConceptos(const QList<TConcepto>& v) { uConceptos = v; }
  void setCajero(const QString& v) { uCajero = v; }
  void setNumeroTicket(const QString& v) { uNumeroTicket = v; }
  void setFecha(const QDateTime& v) { uFecha = v; }
  void setCampoAdicional3(const TCampoAdicional& v) { uCampos[0] = v; }
  void setCampoAdicional4(const TCampoAdicional& v) { uCampos[1] = v; }
  void setCampoAdicional5(const TCampoAdicional& v) { uCampos[2] = v; }
  void setCampoAdicional6(const TCampoAdicional& v) { uCampos[3] = v; }
  void setEfectivoValor(const QString& v) { uEfectivoValor = v; }
  void setFormaPago(const TFormasPago& v) { uFormasPago = v; }
  // From a list: the first seven entries, missing ones left empty.
  void setFormaPago(const QList<tFormaPago>& v);
  void setArchivoCBB(const QString& v) { uArchivoCBB = v; }

  QString getNombreNegocio() const { return uNombreNegocio; }
  QString getRfc() const { return uRfc; }
  QString getRazon() const { return uRazon; }
  QList<TConcepto>& getLConceptos() { return uConceptos; }
  const QList<TConcepto>& getLConceptos() const { return uConceptos; }
  QString getCajero() const { return uCajero; }
  QString getNumeroTicket() const { return uNumeroTicket; }
  QDateTime getFecha() const { return uFecha; }
  TCampoAdicional getCampoAdicional3() const { return uCampos[0]; }
  TCampoAdicional getCampoAdicional4() const { return uCampos[1]; }
  TCampoAdicional getCampoAdicional5() const { return uCampos[2]; }
  TCampoAdicional getCampoAdicional6() const { return uCampos[3]; }
  // Fields 3..6 in printing order.
  const std::array<TCampoAdicional, 4>& camposAdicionales() const { return uCampos; }
  QString getEfectivoValor() const { return uEfectivoValor; }
  const TFormasPago& getFormaPago() const { return uFormasPago; }
  QString getArchivoCBB() const { return uArchivoCBB; }
  TEtiqueta& getEtiqueta1() { return uEtiqueta1; }
  TEtiqueta& getEtiqueta2() { return uEtiqueta2; }
  const TEtiqueta& getEtiqueta1() const { return uEtiqueta1; }
  const TEtiqueta& getEtiqueta2() const { return uEtiqueta2; }

 private:
  QString uNombreNegocio;
  QString uRfc;
  QString uRazon;
  QList<TConcepto> uConceptos;
  QString uCajero;
  QString uNumeroTicket;
  QDateTime uFecha;
  std::array<TCampoAdicional, 4> uCampos;
  QString uEfectivoValor;
  TFormasPago uFormasPago;
  QString uArchivoCBB;
  TEtiqueta uEtiqueta1;
  TEtiqueta uEtiqueta2;
};

// What the receipt printer is handed, field by field in this order.
struct RECticketInfo {
  // Destination for this ticket only ("/dev/usb/lp0", "host:9100" or a folder); empty uses
  // the configured one.
  QString impresora;
  // Height in pixels of one text line on the receipt picture (0 or less: 26).
  int altoRenglon = 26;
  // Box, in printer dots, that the QR code is enlarged into by whole steps so its modules
  // stay square (0 or less: 260). A larger picture is shrunk to fit.
  int anchoQR = 260;
  int altoQR = 260;
  TImpresionTicket ticket;
  // Logo printed above the header; a missing file prints no logo.
  QString archivoLogo;
};
