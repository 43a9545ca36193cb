#pragma once
// Modal choice of a kit in force (or, in promotion mode, of a promotion in force).

#include <QDialog>
#include <QList>

#include "db/CmidTierResponse.h"
#include "ui/pantallaNombrada.h"

class QFrame;
class QLabel;
class QVBoxLayout;

struct tHoldKit {
  QFrame* fondo = nullptr;
  QLabel* etiqueta = nullptr;
  int id = 0;
};

struct TRespuestaSeleccionKit {
  bool ok = false;
  int id = 0;
};

// Its entries are named "Entrada 0", "Entrada 1", ... (TPantallaNombrada).
class TFRM_cajaSeleccionarKit : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_cajaSeleccionarKit(QWidget* parent = nullptr);
  ~TFRM_cajaSeleccionarKit() override;

  TRespuestaSeleccionKit initKit();
  TRespuestaSeleccionKit initPromo();

  // Choosing an entry or cancelling, as the user does.
  void eligeEntrada(int indice);
  void cancelar();
  // Ids of the kits (or promotions) listed, in order.
  QList<int> idsEntradas() const;

 protected:
  bool eventFilter(QObject* obj, QEvent* ev) override;

 private:
  void lista(const QString& columnaNombre, const QString& columnaId);
  TRespuestaSeleccionKit ejecuta(const QString& titulo);
  void liberaEntradas();

  QList<tHoldKit> uListaComponentesDinamicos;
  CmidTierResponse uResponseBusqueda;
  int uIndiBusquedaSeleccionado = -1;
  int uSelectedKitID = 0;
  bool uOk = false;
  QLabel* uTitulo = nullptr;
  QWidget* uArea = nullptr;
};
