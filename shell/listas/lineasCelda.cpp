#include "shell/listas/lineasCelda.h"

#include <QStringList>
#include <algorithm>

namespace {
QStringList palabras(const QString& texto) {
  return texto.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
}
}  // namespace

QString u_lineasCelda(const QFontMetrics& fm, const QString& texto, int ancho, bool* recortado) {
  if (recortado) *recortado = false;
  if (fm.horizontalAdvance(texto) <= ancho) return texto;
  const QStringList p = palabras(texto);
  int primeras = 0;
  while (primeras < p.size() &&
         fm.horizontalAdvance(p.mid(0, primeras + 1).join(QLatin1Char(' '))) <= ancho)
    ++primeras;
  if (primeras == p.size()) return p.join(QLatin1Char(' '));
  if (primeras == 0) {
    // Not even the first word fits: one line, cut.
    if (recortado) *recortado = true;
    return fm.elidedText(texto, Qt::ElideRight, ancho);
  }
  const QString resto = p.mid(primeras).join(QLatin1Char(' '));
  if (recortado) *recortado = fm.horizontalAdvance(resto) > ancho;
  return p.mid(0, primeras).join(QLatin1Char(' ')) + QLatin1Char('\n') +
         fm.elidedText(resto, Qt::ElideRight, ancho);
}

int u_anchoDosLineas(const QFontMetrics& fm, const QString& texto) {
  const QStringList p = palabras(texto);
  int mejor = fm.horizontalAdvance(texto);
  for (int k = 1; k < p.size(); ++k)
    mejor = std::min(mejor, std::max(fm.horizontalAdvance(p.mid(0, k).join(QLatin1Char(' '))),
                                     fm.horizontalAdvance(p.mid(k).join(QLatin1Char(' ')))));
  return mejor;
}
