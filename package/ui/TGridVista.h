#pragma once
// The on-screen side of a TGridControl: shows its model in a QTableView with the declared
// columns (hidden ones hidden, widths as declared, row height from the suite's units) and can
// let one column take the view's spare width, recomputed on every resize.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTableView>

#include "grid/TGridControl.h"

class TGridVista : public QObject {
  Q_OBJECT
 public:
  // Shows the control's model in the view.
  TGridVista(TGridControl* control, QTableView* vista, QObject* parent = nullptr);
  ~TGridVista() override;

  // Builds the view's columns: header texts, widths, hidden columns, row height.
  void renuevaColumnas();
  // The named column absorbs the view's spare width (recomputed on every resize); on a
  // narrow view it shrinks, down to kAnchoMinimoAjuste.
  void ajustaColumna(const QString& nombre);
  static constexpr int kAnchoMinimoAjuste = 160;

  QTableView* vista() const { return uVista; }

 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  void aplicaAjuste();

  QPointer<TGridControl> uControl;
  QPointer<QTableView> uVista;
  QString uColumnaAjuste;
};
