#include "TFRM_main_puntoVenta.h"

#include <QLabel>
#include <QVBoxLayout>

QWidget* TFRM_main_puntoVenta::ExecForm(TsistemaDatos& sistemaDatos) {
  SYS_aliasRutaDB.clear();
  localSYS = sistemaDatos;
  SYS_aliasRutaDB = localSYS.conexion ? localSYS.conexion->getDatabase() : QString();
  auto* f = new TFRM_main_puntoVenta();
  f->init();
  return f->PNL_puntoVenta;
}

TFRM_main_puntoVenta::TFRM_main_puntoVenta(QWidget* parent) : QWidget(parent) {
  PNL_puntoVenta = new QWidget();
  auto* l = new QVBoxLayout(PNL_puntoVenta);
  l->addWidget(new QLabel(QStringLiteral("Punto de Venta")));
}

void TFRM_main_puntoVenta::init() {}
