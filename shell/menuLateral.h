#pragma once
// Widgets of the module's main panel: the collapsible groups of the side menu, its rows and
// the body that hosts the chosen screen.

#include <QToolButton>
#include <QVector>
#include <QWidget>

class QLabel;

// One touch row of the side menu. `icono` is the resource name of its image; the chosen
// row shows icono + "Sel".
class TElementoMenu : public QToolButton {
  Q_OBJECT
 public:
  TElementoMenu(const QString& titulo, const QString& icono, int alto, QWidget* parent);
  QString icono() const { return uIcono; }
  void setTamLetra(int pixeles) { uTamLetra = pixeles; }
  // Colours of the row: background and text ARGB, selected icon or not, left indent of the
  // icon, bold caption, room kept free on the right (a group's arrow).
  void pinta(quint32 fondo, quint32 texto, bool elegido, int sangria, bool negrita,
             int margenDerecho = 12);
  bool elegido() const { return uElegido; }
  quint32 fondo() const { return uFondo; }
  quint32 colorTexto() const { return uTexto; }

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QString uIcono;
  bool uElegido = false;
  bool uNegrita = false;
  int uSangria = 14;
  int uMargenDerecho = 12;
  int uTamLetra = 14;
  quint32 uFondo = 0xFFE9E9E9, uTexto = 0xFF2B2B2B;
};

// A group: its header row (39 high) and its entry rows (40 high each) laid out by hand, so
// animating the group's height clips the entries instead of squeezing them.
class TGrupoMenu : public QWidget {
  Q_OBJECT
 public:
  static constexpr int ALTO_CERRADO = 39;
  static constexpr int ALTO_FILA = 40;
  static int altoAbierto(int entradas) { return (entradas + 1) * ALTO_FILA + 4; }

  TGrupoMenu(const QString& titulo, const QString& icono, QWidget* parent);
  // Adds an entry row; hidden rows take no place and never show.
  TElementoMenu* agregaEntrada(const QString& titulo, const QString& icono, bool visible = true);

  TElementoMenu* encabezado() const { return uEncabezado; }
  const QVector<TElementoMenu*>& entradas() const { return uEntradas; }
  int entradasVisibles() const;
  // Arrow image by the current height: open when taller than a closed group.
  void actualizaFlecha();
  bool flechaAbierta() const { return uFlechaAbierta; }
  // Immediate height, no animation.
  void fijaAlto(int alto);

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void colocaFilas();

  TElementoMenu* uEncabezado = nullptr;
  QLabel* uFlecha = nullptr;
  QVector<TElementoMenu*> uEntradas;
  bool uFlechaAbierta = false;
  bool uFlechaLista = false;
};

// The body: hosts the chosen screen; while it is empty it shows a quiet hint.
class TCuerpoModulo : public QWidget {
  Q_OBJECT
 public:
  explicit TCuerpoModulo(QWidget* parent);
  int pantallas() const;

 protected:
  void paintEvent(QPaintEvent* e) override;
};
