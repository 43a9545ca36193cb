#pragma once
#include <QWidget>

#include "context/TsistemaDatos.h"

class TFRM_main_puntoVenta : public QWidget {
  Q_OBJECT
 public:
  static QWidget* ExecForm(TsistemaDatos& sistemaDatos);
  explicit TFRM_main_puntoVenta(QWidget* parent = nullptr);
  void init();
  QWidget* PNL_puntoVenta = nullptr;
};
