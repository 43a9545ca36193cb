#pragma once
// The package's return-capture dialog: how much of one sold line comes back, why, in what
// condition, and which of the line's serial numbers. It refuses (and stays open) what the line
// cannot take; the rules are devoluciones/capturaDevolucion.h. Runs through u_ejecutaModal, so
// tests and pos-script drive it with the actions and readings below.

#include <QDialog>
#include <QVector>

#include "devoluciones/capturaDevolucion.h"

class QComboBox;
class QLabel;
class QPushButton;
class TListaMarcas;

class TFRM_capturaDevolucion : public QDialog {
  Q_OBJECT
 public:
  explicit TFRM_capturaDevolucion(QWidget* parent = nullptr);

  // Shows the line and runs modally; answers the record with `ok` and the captured values
  // (unchanged, `ok` false, when cancelled).
  TcommCapturaDevolucion init(const TcommCapturaDevolucion& captura);

  // Actions.
  void escribeCantidad(const QString& texto);  // as the keypad would answer it
  void sumaPieza();
  void restaPieza();
  bool eligeMotivo(int tipoDevolucion);
  bool eligeEstado(const QString& estado);
  // Ticks or unticks one of the line's serial numbers; false when the line does not hold it.
  bool marcaNoSerie(const QString& noSerie, bool marcado = true);
  void BTN_cantidadClick();  // the keypad
  void BTN_aceptarClick();
  void BTN_cancelarClick();

  // Readings.
  QString textoCantidad() const;
  QString textoDisponible() const;
  QStringList noSeriesOfrecidos() const;
  QStringList noSeriesMarcados() const;

 private:
  void construye();
  void muestraCantidad(const QString& texto);

  TcommCapturaDevolucion uCaptura;
  QVector<TnoSerieDevolver> uVendidos;
  QString uCantidad;
  QLabel* LBL_titulo = nullptr;
  QLabel* LBL_descripcion = nullptr;
  QLabel* LBL_disponible = nullptr;
  QLabel* LBL_leyendaSeries = nullptr;
  QPushButton* BTN_cantidad = nullptr;
  QPushButton* BTN_menos = nullptr;
  QPushButton* BTN_mas = nullptr;
  QComboBox* CMB_motivo = nullptr;
  QComboBox* CMB_estado = nullptr;
  TListaMarcas* LST_noSerie = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
};
