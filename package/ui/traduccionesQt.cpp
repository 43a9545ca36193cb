#include "ui/traduccionesQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool u_instalaTraduccionesQt() {
  static bool instaladas = false;
  if (instaladas || !QCoreApplication::instance()) return instaladas;
  // "qt_es" gathers qtbase_es and the other modules' Spanish catalogues.
  auto* traductor = new QTranslator(QCoreApplication::instance());
  const QLocale espanol(QLocale::Spanish, QLocale::Mexico);
  if (!traductor->load(espanol, QStringLiteral("qt"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete traductor;
    return false;
  }
  QCoreApplication::installTranslator(traductor);
  instaladas = true;
  return true;
}
