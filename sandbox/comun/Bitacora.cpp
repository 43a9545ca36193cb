#include "Bitacora.h"

#include <QDateTime>
#include <cstdio>

void bitacora(const QString& linea) {
  std::fprintf(stderr, "%s %s\n",
               qPrintable(QDateTime::currentDateTime().toString(Qt::ISODateWithMs)),
               qPrintable(linea));
  std::fflush(stderr);
}
