#include "facturacion/pdfFacturas.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>

namespace {
void fija(QString* error, const QString& texto) {
  if (error) *error = texto;
}
}  // namespace

bool u_uuidUtilizable(const QString& uuid) {
  static const QRegularExpression forma(QStringLiteral("^[A-Za-z0-9-]{1,64}$"));
  return forma.match(uuid.trimmed()).hasMatch();
}

QByteArray u_decodificaPDF(const QString& base64) {
  const auto r =
      QByteArray::fromBase64Encoding(base64.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
  if (!r || !r.decoded.startsWith("%PDF-")) return QByteArray();
  return r.decoded;
}

QString u_carpetaPDFFacturas(const QString& carpetaAplicacion, const QString& rfc) {
  const QString base = carpetaAplicacion.isEmpty() ? QDir::currentPath() : carpetaAplicacion;
  return QDir(base).filePath(QStringLiteral("pdfFacturasGenerados/") + rfc.trimmed());
}

QString u_rutaPDFFactura(const QString& carpetaAplicacion, const QString& rfc,
                         const QString& uuid) {
  static const QRegularExpression formaRfc(QStringLiteral("^[A-Za-z0-9&Ññ]{1,13}$"));
  if (!u_uuidUtilizable(uuid) || !formaRfc.match(rfc.trimmed()).hasMatch()) return QString();
  return u_carpetaPDFFacturas(carpetaAplicacion, rfc) + QLatin1Char('/') + uuid.trimmed() +
         QStringLiteral(".pdf");
}

bool u_creaCarpetaPDFFacturas(const QString& carpetaAplicacion, const QString& rfc,
                              QString* error) {
  const QString carpeta = u_carpetaPDFFacturas(carpetaAplicacion, rfc);
  if (QDir().mkpath(carpeta)) return true;
  fija(error, QStringLiteral("No se pudo crear la carpeta de facturas %1")
                  .arg(QDir::toNativeSeparators(carpeta)));
  return false;
}

bool u_guardaPDFFactura(const QString& ruta, const QString& base64, QString* error) {
  const QByteArray pdf = u_decodificaPDF(base64);
  if (pdf.isEmpty()) {
    fija(error, QStringLiteral("El servicio de facturación no entregó un PDF válido"));
    return false;
  }
  // QSaveFile writes beside the target and renames on commit; a failure discards it.
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly) || archivo.write(pdf) != pdf.size() ||
      !archivo.commit()) {
    fija(error, QStringLiteral("No se pudo guardar el PDF %1: %2")
                    .arg(QDir::toNativeSeparators(ruta), archivo.errorString()));
    archivo.cancelWriting();
    return false;
  }
  return true;
}
