#pragma once
// "Configuracón Ticket": the header image printed on the business's tickets (its logo) and a
// test page through the receipt printer. A chosen image must pass the logo check (.bmp, at most
// 300 × 110); otherwise the previous logo stays.
//
// Named for tests and pos-script (TPantallaNombrada): "Título", "Indicaciones", "Vista Previa"
// (the logo's preview), "Buscar", "Restaurar", "Imprimir", "Página de prueba" (the picture of the
// last test page printed).

#include <QWidget>

#include "printer/TImpresionTicket.h"
#include "ui/pantallaNombrada.h"

class QLabel;
class QPushButton;

class TFRM_configuracionTicket : public QWidget, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_configuracionTicket(QWidget* parent = nullptr);

  // Shows the current logo; run by the shell each time it shows the screen.
  void init();
  // "Buscar": a file chooser; a file that passes the check becomes the logo.
  void BTN_buscarClick();
  // The same with a file already chosen (what the chooser answers).
  void cargaLogo(const QString& archivo);
  // "Restaurar": no logo any more; tickets print without one.
  void BTN_restaurarClick();
  // "Imprimir": the test page.
  void imprimeTicket();

  QString rutaImagen;
  RECticketInfo ultimaImpresion() const { return uImpresion; }

 private:
  void mostrarLogo();
  QString rutaLogo() const;

  QLabel* LBL_titulo = nullptr;
  QLabel* IMG_vistaPrevia = nullptr;
  QLabel* IMG_paginaPrueba = nullptr;
  QPushButton* BTN_buscar = nullptr;
  QPushButton* BTN_restaurar = nullptr;
  QPushButton* BTN_imprimir = nullptr;
  RECticketInfo uImpresion;
};
