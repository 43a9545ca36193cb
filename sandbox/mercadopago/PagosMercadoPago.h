#pragma once
// The payments of the sandbox's one MercadoPago account, as the search and the Point service
// answer them. Payments are added through the control API and kept in memory only: a
// restarted sandbox has none.

#include <QDateTime>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

class PagosMercadoPago {
 public:
  struct Busqueda {
    QString estado;          // `status`; empty for any
    QString rango;           // `range`: the date field the window applies to
    QDateTime desde, hasta;  // `begin_date`, `end_date`
    QString orden = QStringLiteral("date_created");  // `sort`
    bool descendente = true;                         // `criteria`
    int limite = 30;                                 // `limit`
    int desplazamiento = 0;                          // `offset`
    QString referencia;                              // `external_reference`; empty for any
    qint64 id = 0;                                   // `id`; 0 for any
  };

  PagosMercadoPago(qint64 usuario, const QString& terminal)
      : uUsuario(usuario), uTerminal(terminal) {}

  // Adds a payment from the control API's fields; the payment as the search shows it (plus
  // `poi`), or an empty object and the reason.
  QJsonObject agrega(const QJsonObject& datos, QString* error);
  QJsonArray todos() const;
  void borra() { uPagos.clear(); }

  // Reads the query of GET /v1/payments/search; false with the reason naming the parameter.
  static bool leeBusqueda(const QList<QPair<QString, QString>>& parametros, Busqueda* busqueda,
                          QString* error);
  // {"paging": {...}, "results": [...]}
  QJsonObject busca(const Busqueda& busqueda) const;
  // The payment with that id, or an empty object.
  QJsonObject pago(qint64 id) const;

  // "NOW", "NOW-1HOUR", "NOW-6DAYS", "NOW+2MINUTES"... or an ISO 8601 date-time (local time
  // when it carries no offset). Invalid when it is none of them.
  static QDateTime leeFecha(const QString& texto, const QDateTime& ahora);

 private:
  struct Pago {
    QJsonObject json;  // as the search shows it
    QString poi;
  };
  qint64 uUsuario;
  QString uTerminal;
  QList<Pago> uPagos;
  qint64 uSiguienteId = 1311000001;
};
