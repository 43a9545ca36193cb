// pos-catalogo: imports a catalog document into a point-of-sale database, or writes a
// generated one.
//   pos-catalogo importa --db <archivo SQLite | postgresql://...> [--clave CARPETA] <archivo.json>
//   pos-catalogo genera --productos N [--semilla S] [--negocio ID] [--estacion NOMBRE]
//                       --salida archivo.json

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <optional>

#include "catalogo/importador.h"
#include "db/esquema.h"
#include "generador/generadorCatalogo.h"
#include "signing/firma.h"

namespace {

const char* const kUso =
    "Uso:\n"
    "  pos-catalogo importa --db <archivo SQLite | postgresql://...> [--clave CARPETA] "
    "<archivo.json>\n"
    "  pos-catalogo genera --productos N [--semilla S] [--negocio ID] [--estacion NOMBRE] "
    "--salida archivo.json\n";

int falla(const QString& mensaje) {
  QTextStream(stderr) << mensaje << Qt::endl;
  return 1;
}

// "--opcion valor" pairs and the loose arguments, in order.
struct TArgumentos {
  QHash<QString, QString> opciones;
  QStringList sueltos;
  QString error;
};

TArgumentos leeArgumentos(const QStringList& args) {
  TArgumentos a;
  for (int i = 2; i < args.size(); ++i) {
    if (!args[i].startsWith(QStringLiteral("--"))) {
      a.sueltos << args[i];
      continue;
    }
    if (i + 1 >= args.size()) {
      a.error = QStringLiteral("Falta el valor de %1").arg(args[i]);
      break;
    }
    a.opciones.insert(args[i].mid(2), args[i + 1]);
    ++i;
  }
  return a;
}

std::optional<qint64> numero(const TArgumentos& a, const QString& opcion, qint64 omision) {
  if (!a.opciones.contains(opcion)) return omision;
  bool ok = false;
  const qint64 n = a.opciones.value(opcion).toLongLong(&ok);
  if (!ok || n < 0) return std::nullopt;
  return n;
}

// What a failed import into a new SQLite file must take away again: the file (with its
// journal), a key file it created and the folders it made, so nothing half-made is left.
class TRastroNuevo {
 public:
  explicit TRastroNuevo(const QString& destino) : uBase(destino) {
    QString carpeta = QFileInfo(destino).absolutePath();
    while (!QFileInfo::exists(carpeta)) {
      uCarpetas << carpeta;
      carpeta = QFileInfo(carpeta).absolutePath();
    }
    uNueva = !QFileInfo::exists(destino);
  }
  void claveEn(const QString& carpeta) {
    uClave = QDir(carpeta).filePath(QStringLiteral("pos_firma.key"));
    uClaveNueva = !QFileInfo::exists(uClave);
  }
  void borra() const {
    if (!uNueva) return;
    for (const char* sufijo : {"", "-wal", "-shm", "-journal"})
      QFile::remove(uBase + QString::fromLatin1(sufijo));
    if (uClaveNueva) QFile::remove(uClave);
    for (const QString& c : uCarpetas) QDir().rmdir(c);  // only when left empty
  }

 private:
  QString uBase, uClave;
  QStringList uCarpetas;  // created for it, innermost first
  bool uNueva = false, uClaveNueva = false;
};

int importaEn(TConexionSesion& conexion, const TArgumentos& a, bool postgres,
              const QString& destino, TRastroNuevo* rastro) {
  if (!conexion.abre())
    return falla(QStringLiteral("No se pudo abrir la base de datos %1: %2")
                     .arg(conexion.getDatabase(), conexion.ultimoError()));
  QString error;
  if (!u_aplicaMigraciones(conexion, &error))
    return falla(QStringLiteral("No se pudo preparar el esquema de la base de datos: ") + error);
  // The online-user password is encrypted with the installation key, which by default lives
  // beside the SQLite database (the demo station's application folder is the database's).
  const QString carpetaClave = a.opciones.contains(QStringLiteral("clave"))
                                   ? a.opciones.value(QStringLiteral("clave"))
                                   : (postgres ? QString() : QFileInfo(destino).absolutePath());
  if (!carpetaClave.isEmpty()) {
    if (rastro) rastro->claveEn(carpetaClave);
    signingConfigura(carpetaClave);
  }
  const TResultadoImportacion r = importaCatalogo(conexion, a.sueltos.first());
  if (!r.ok) return falla(r.error);
  QTextStream(stdout)
      << QStringLiteral("Importado negocio %1 (%2 registros)").arg(r.idNegocio).arg(r.registros)
      << Qt::endl;
  return 0;
}

int importa(const TArgumentos& a) {
  const QString destino = a.opciones.value(QStringLiteral("db"));
  if (destino.isEmpty() || a.sueltos.size() != 1) return falla(QString::fromUtf8(kUso));
  const bool postgres = destino.startsWith(QStringLiteral("postgresql://")) ||
                        destino.startsWith(QStringLiteral("postgres://"));
  std::optional<TRastroNuevo> rastro;
  if (!postgres) {
    rastro.emplace(destino);
    QDir().mkpath(QFileInfo(destino).absolutePath());
  }
  int codigo = 0;
  {
    TConexionSesion conexion(destino);
    codigo = importaEn(conexion, a, postgres, destino, rastro ? &*rastro : nullptr);
  }
  // The connection is closed by now, so its files can go.
  if (codigo != 0 && rastro) rastro->borra();
  return codigo;
}

int genera(const TArgumentos& a) {
  const QString salida = a.opciones.value(QStringLiteral("salida"));
  const auto productos = numero(a, QStringLiteral("productos"), -1);
  const auto semilla = numero(a, QStringLiteral("semilla"), 1);
  const auto negocio = numero(a, QStringLiteral("negocio"), 1);
  if (salida.isEmpty() || !a.sueltos.isEmpty() || !productos || *productos < 0 || !semilla ||
      !negocio)
    return falla(QString::fromUtf8(kUso));
  TOpcionesGenerador o;
  o.productos = static_cast<int>(*productos);
  o.semilla = static_cast<quint64>(*semilla);
  o.idNegocio = static_cast<int>(*negocio);
  if (a.opciones.contains(QStringLiteral("estacion")))
    o.estacion = a.opciones.value(QStringLiteral("estacion"));
  QFile f(salida);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || !escribeCatalogo(o, f) || !f.flush())
    return falla(QStringLiteral("No se pudo escribir %1").arg(salida));
  QTextStream(stdout) << QStringLiteral("Generado %1 con %2 productos").arg(salida).arg(o.productos)
                      << Qt::endl;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() < 2) return falla(QString::fromUtf8(kUso));
  const TArgumentos a = leeArgumentos(args);
  if (!a.error.isEmpty()) return falla(a.error + QLatin1Char('\n') + QString::fromUtf8(kUso));
  if (args[1] == QStringLiteral("importa")) return importa(a);
  if (args[1] == QStringLiteral("genera")) return genera(a);
  return falla(QString::fromUtf8(kUso));
}
