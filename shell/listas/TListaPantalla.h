#pragma once
// The list-screen machinery shared by every grid screen of the module: title with the brand
// marker, search fields with clear buttons, "Buscar" / "Ver Todos", the grid bound to a data
// operation, the empty-result message, row actions on the first column, cell painting and the
// PDF / Excel exports. A list screen derives from it and gives only its columns, filters, data
// operation and row actions; its constructor ends with preparaGrid().
//
// Named for tests (TPantallaNombrada): "Título", "Buscar", "Ver Todos", "PDF", "Excel",
// "Mensaje" (the empty-result message), "Lista" (the grid), "Teclado"; every search field by
// its caption and its clear button as "Borrar " + caption; a screen's own filters and action
// buttons by their captions.

#include <QDateTime>
#include <QHash>
#include <QPointer>
#include <QVariant>
#include <QVector>
#include <QWidget>

#include "db/CmidTierResponse.h"
#include "resources/recursos.h"
#include "shell/listas/exportaLista.h"
#include "ui/pantallaNombrada.h"

class QDateEdit;
class QDateTimeEdit;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class TDelegadoLista;
class TFilaFlujo;
class TGridControl;
class TGridVista;
class TTecladoCampos;

class TListaPantalla : public QWidget, public TPantallaNombrada {
  Q_OBJECT
 public:
  struct Opciones {
    bool exportar = true;         // "PDF" and "Excel"
    bool verTodos = true;         // the "Ver Todos" button is shown
    bool verTodosBusca = true;    // ... and clears the filters and searches
    bool limpiarBusca = false;    // a clear button searches again after clearing its field
    bool busquedaUnaVez = false;  // init searches only the first time (uBusquedaInicial)
    bool dialogo = false;         // shown inside a dialog: dialog colours

    // A picker inside a dialog: no exports, no "Ver Todos", dialog colours.
    static Opciones selector() {
      Opciones o;
      o.exportar = false;
      o.verTodos = false;
      o.dialogo = true;
      return o;
    }
  };

  TListaPantalla(const QString& titulo, const Opciones& opciones, QWidget* parent = nullptr);
  ~TListaPantalla() override;

  // Run by the shell each time it shows the screen.
  virtual void init();
  // Runs the data operation with the current filters and refreshes grid and message.
  void buscar();

  void BTN_buscarClick() { buscar(); }
  void BTN_verTodosClick();
  void BTN_exportarPDFClick();
  void BTN_exportarExcelClick();
  // The cell supplied for display; empty outside the bound table.
  QString GRD_mainGetValue(int columna, int fila) const;
  void GRD_mainResize();

  QString titulo() const { return uTitulo; }
  TGridControl& grid() const { return *uGRD_mainControl; }
  TDelegadoLista* delegado() const { return uDelegado; }
  bool busquedaInicial() const { return uBusquedaInicial; }

  // "%" + trimmed text + "%", or a text-typed null when the field holds only blanks.
  static QVariant filtroTexto(const QLineEdit* campo);
  static QVariant nuloTexto();
  static QVariant nuloEntero();

  static constexpr const char* kSinElementos = "No hay elementos que mostrar";
  // How many pixels a date field's text area lacks to show a whole date of its format.
  static int faltaAnchoFecha(const QDateTimeEdit* fecha);

 signals:
  void busquedaTerminada(bool ok);

 protected:
  QTableView* GRD_main = nullptr;
  QLabel* LBL_msg = nullptr;
  QLabel* LBL_titulo = nullptr;
  QLabel* IMG_apuntador = nullptr;
  QPushButton* BTN_buscar = nullptr;
  QPushButton* BTN_verTodos = nullptr;
  QPushButton* BTN_exportarPDF = nullptr;
  QPushButton* BTN_exportarExcel = nullptr;

  QLineEdit* agregaCampoBusqueda(const QString& etiqueta, const QString& nombre,
                                 int longitudMaxima = 50, int ancho = 220);
  // A filter of the screen's own (a combo, a picker) in the search row, with its caption.
  void agregaFiltro(const QString& etiqueta, QWidget* filtro);
  // A date filter set to today, with a calendar to pick the day and a reset button that sets
  // today again without searching. `nombre` is its object name ("DTP_fechaInicial").
  QDateEdit* agregaFiltroFecha(const QString& etiqueta, const QString& nombre);
  // A date filter's day as a search window: its first and its last instant.
  static QDateTime inicioDelDia(const QDateEdit* fecha);
  static QDateTime finDelDia(const QDateEdit* fecha);
  // A button of the screen's own ("Nuevo Cajero") beside the exports.
  QPushButton* agregaBotonAccion(const QString& texto);
  // A button of the screen's own on a row of its own under the title, for options whose
  // captions would not fit beside it on a 1024-wide station.
  QPushButton* agregaBotonOpcion(const QString& texto);
  // Extra line below the search row (a filter note).
  QLabel* agregaNota();
  void preparaGrid();
  void aplicaColoresMarca();
  const TListaColores& colores() const { return uColores; }

  virtual void declaraColumnas(TGridControl& grid) = 0;
  virtual QString columnaAjuste() const = 0;
  virtual CmidTierResponse consulta() = 0;
  // Unbound columns filled after a successful search.
  virtual void despuesDeCargar() {}
  // The row action of a release over column 0 of an existing row.
  virtual void accionFila(int fila, const QPoint& global) {
    Q_UNUSED(fila);
    Q_UNUSED(global);
  }
  // A pointer release over an existing row (any column).
  virtual void liberacionEnGrid(int fila, int columna, const QPoint& global);
  // Printed columns of the PDF export, and its date-range line (none when empty).
  virtual QVector<TColumnaPDF> columnasPDF() const { return {}; }
  virtual QString rangoFechasPDF() const { return {}; }
  // "Ver Todos": empties every filter (screens with other filters add theirs).
  virtual void limpiaFiltros();

  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void construye();
  void muestraMensajeVacio();
  void ajustaAnchosTactiles();
  void vigilaAnchoFecha(QDateTimeEdit* fecha);

  QString uTitulo;
  Opciones uOpciones;
  TListaColores uColores;
  TGridControl* uGRD_mainControl = nullptr;
  TGridVista* uVista = nullptr;
  TDelegadoLista* uDelegado = nullptr;
  TTecladoCampos* uTeclado = nullptr;
  bool uBusquedaInicial = false;
  TFilaFlujo* uFilaBusqueda = nullptr;
  QHBoxLayout* uFilaOpciones = nullptr;
  QHBoxLayout* uFilaAcciones = nullptr;
  QWidget* uZonaNotas = nullptr;
  QVector<QLineEdit*> uCampos;
  QVector<QPushButton*> uBorrar;
  QHash<QObject*, QDateTimeEdit*> uTextosFecha;  // a date filter's text area -> its field
};
