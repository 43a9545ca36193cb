#include "ArgumentosSandbox.h"

#include <cstdio>

ArgumentosSandbox::ArgumentosSandbox(QCommandLineParser& p, const QString& programa)
    : uParser(p), uPrograma(programa) {}

void ArgumentosSandbox::agregaLimites() {
  uLimiteCuerpo = QCommandLineOption(
      QStringLiteral("limite-cuerpo"),
      QStringLiteral("Tamaño máximo del cuerpo de una petición HTTP, en bytes (4194304)."),
      QStringLiteral("BYTES"), QStringLiteral("4194304"));
  uInactividad = QCommandLineOption(
      QStringLiteral("inactividad"),
      QStringLiteral("Segundos para recibir una petición completa; después se cierra la conexión "
                     "(30)."),
      QStringLiteral("SEGUNDOS"), QStringLiteral("30"));
  uMaxConexiones = QCommandLineOption(
      QStringLiteral("max-conexiones"),
      QStringLiteral("Conexiones abiertas a la vez; la más antigua ociosa cede su lugar (256)."),
      QStringLiteral("N"), QStringLiteral("256"));
  uParser.addOptions({uLimiteCuerpo, uInactividad, uMaxConexiones});
}

QCommandLineOption ArgumentosSandbox::agregaPuerto(const QString& nombre,
                                                   const QString& descripcion) {
  const QCommandLineOption o(nombre, descripcion, QStringLiteral("N"), QStringLiteral("0"));
  uParser.addOption(o);
  return o;
}

int ArgumentosSandbox::falla(const QString& mensaje, int codigo) const {
  std::fprintf(stderr, "%s: %s\n", qPrintable(uPrograma), qPrintable(mensaje));
  return codigo;
}

bool ArgumentosSandbox::entero(const QCommandLineOption& opcion, qint64 minimo, qint64 maximo,
                               qint64* valor) {
  bool ok = false;
  const qint64 n = uParser.value(opcion).toLongLong(&ok);
  if (!ok || n < minimo || n > maximo) {
    falla(QStringLiteral("--%1 debe ser un número entre %2 y %3")
              .arg(opcion.names().constFirst())
              .arg(minimo)
              .arg(maximo),
          2);
    return false;
  }
  *valor = n;
  return true;
}

bool ArgumentosSandbox::puerto(const QCommandLineOption& opcion, quint16* valor) {
  qint64 n = 0;
  if (!entero(opcion, 0, 65535, &n)) return false;
  *valor = static_cast<quint16>(n);
  return true;
}

bool ArgumentosSandbox::limites(ServidorHttp::Opciones* o) {
  qint64 cuerpo = 0, segundos = 0, conexiones = 0;
  if (!entero(uLimiteCuerpo, 1024, qint64(1) << 30, &cuerpo) ||
      !entero(uInactividad, 1, 3600, &segundos) || !entero(uMaxConexiones, 1, 10000, &conexiones))
    return false;
  o->limiteCuerpo = cuerpo;
  o->inactividadMs = static_cast<int>(segundos * 1000);
  o->maxConexiones = static_cast<int>(conexiones);
  return true;
}

bool ArgumentosSandbox::sinSobrantes() {
  if (uParser.positionalArguments().isEmpty()) return true;
  falla(QStringLiteral("argumento no reconocido: %1").arg(uParser.positionalArguments().first()),
        2);
  return false;
}
