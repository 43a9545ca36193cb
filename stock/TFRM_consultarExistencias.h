#pragma once
// "Existencias": stock on hand of the business's products per warehouse, optionally for one
// warehouse and one product.

#include <QVector>

#include "operaciones/productos.h"
#include "shell/listas/TListaPantalla.h"

class QComboBox;

// Besides the list's names: "Almacenes" (the warehouse list), "Borrar Almacen" and "Producto".
class TFRM_consultarExistencias : public TListaPantalla {
  Q_OBJECT
 public:
  explicit TFRM_consultarExistencias(QWidget* parent = nullptr);

  // Reloads the warehouses; searches only the first time.
  void init() override;
  void cargaComboAlmacen();
  void BTN_seleccionarProductoClick();
  void BTN_reiniciarAlmacenClick();

  QVector<int> uValueMember_CMB_almacenes;
  TproductoSeleccionadoDescripcion uProducto;

  static constexpr const char* kSinProducto = "Seleccionar producto ...";

 protected:
  void declaraColumnas(TGridControl& grid) override;
  QString columnaAjuste() const override { return QString(); }
  CmidTierResponse consulta() override;
  QVector<TColumnaPDF> columnasPDF() const override;
  void limpiaFiltros() override;

 private:
  QComboBox* CMB_almacenes = nullptr;
  QPushButton* BTN_reiniciarAlmacen = nullptr;
  QPushButton* BTN_seleccionarProducto = nullptr;
};
