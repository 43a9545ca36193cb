#pragma once
// Field reader of the catalog document. Every read names the record it belongs to, so a bad
// value becomes an error such as `productos[12] (clave "A-7"): el precio no puede ser negativo`.
// Fields never read are refused at `termina`, so a misspelt field is not silently dropped.

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QSet>
#include <QString>
#include <optional>

#include "util/limites.h"

// Raised inside the import and caught at its top, which rolls the transaction back.
struct TErrorImportacion {
  QString mensaje;
};

[[noreturn]] void u_errorImportacion(const QString& mensaje);

class TLectorRegistro {
 public:
  // `contexto` names the record: `productos[3]`, `negocio`, `cajas[0].sesion`.
  TLectorRegistro(const QJsonValue& valor, const QString& contexto);

  // Once the record's natural key is known it joins the name: `productos[3] (clave "A-7")`.
  void nombraCon(const QString& campo, const QString& valor);
  const QString& contexto() const { return uContexto; }
  [[noreturn]] void falla(const QString& mensaje) const;
  // Fails with `problema` unless it is empty (the answer of the u_revisa... checks).
  void revisa(const QString& problema) const;

  bool tiene(const QString& campo) const;

  // Texts are trimmed; a required text may not be empty; none may be longer than `maximo`.
  QString texto(const QString& campo, const QString& omision = QString(),
                int maximo = kMaxLargoCorto);
  QString textoRequerido(const QString& campo, int maximo = kMaxLargoCorto);
  std::optional<double> numeroOpcional(const QString& campo);
  double numero(const QString& campo, double omision);
  double numeroRequerido(const QString& campo);
  // Whole numbers; a fraction or a number outside the int range is refused.
  std::optional<qint64> enteroOpcional(const QString& campo);
  qint64 entero(const QString& campo, qint64 omision);
  qint64 enteroRequerido(const QString& campo);
  // true/false, or 1/0.
  bool booleano(const QString& campo, bool omision);
  // "yyyy-MM-dd" or "yyyy-MM-dd HH:mm:ss"; a date alone means the start of that day, or its
  // last second when `finDelDia`.
  QDateTime fecha(const QString& campo, bool finDelDia = false);
  // A positive id, when the record carries one.
  std::optional<qint64> id(const QString& campo = QStringLiteral("id"));
  QJsonArray lista(const QString& campo);
  // A nested object (absent: an undefined value; check with tiene).
  QJsonValue objeto(const QString& campo);
  // The value as it stands, for fields that take more than one type.
  QJsonValue crudo(const QString& campo) { return valor(campo); }
  // Rate as a fraction in [0, 1).
  double tasa(const QString& campo);

  // Refuses any field that was not read (fields starting with "_" are comments).
  void termina() const;

 private:
  QJsonValue valor(const QString& campo);
  QString nombreCampo(const QString& campo) const;

  QJsonObject uObjeto;
  QString uContexto;
  QSet<QString> uLeidos;
};

// `seccion[i]`.
QString u_contextoElemento(const QString& seccion, int indice);
