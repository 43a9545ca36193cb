#pragma once
// Main form of the point-of-sale module. The host calls ExecForm and embeds the returned
// panel PNL_puntoVenta: a title bar, the side menu and the body where the chosen screen is
// shown. The form itself is never shown.

#include <QHash>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>
#include <array>
#include <map>
#include <memory>

#include "context/TsistemaDatos.h"
#include "resources/recursos.h"
#include "shell/registroPantallas.h"

class QAbstractAnimation;
class QPushButton;
class QTimer;
class TCuerpoModulo;
class TElementoMenu;
class TGrupoMenu;

class TFRM_main_puntoVenta : public QObject {
  Q_OBJECT
 public:
  // The host's only call: sets localSYS and the database alias, creates a main form and
  // answers its panel.
  static QWidget* ExecForm(TsistemaDatos& sistemaDatos);
  // The main form behind a panel answered by ExecForm.
  static TFRM_main_puntoVenta* desdePanel(QWidget* panel);

  TFRM_main_puntoVenta();
  ~TFRM_main_puntoVenta() override;

  void init();

  // Side menu.
  enum { GRUPO_ADMINISTRACION = 0, GRUPO_SERVICIOS = 1 };
  // A click on a group: closes every open group; opens the clicked one unless it was open.
  void controlaModulos(int grupo);
  void colapsaTodo();
  // Chooses a menu entry or item by its caption; false for group headers, hidden or unknown
  // captions.
  bool eligeEntrada(const QString& titulo);
  // Shows a registered screen by its class name, as its menu entry does.
  void muestraPantalla(const QString& clase);

  // State of the menu and body.
  int altoGrupo(int grupo) const;
  bool grupoAbierto(int grupo) const { return modulos.at(grupo).abierto; }
  bool flechaAbierta(int grupo) const;
  bool animando() const;
  TElementoMenu* elementoMenu(const QString& titulo) const;
  QString entradaElegida() const { return uElegida; }
  // Every entry a user can choose: its caption and its screen class.
  QVector<QPair<QString, QString>> entradasElegibles() const;
  TCuerpoModulo* cuerpo() const { return _body; }
  QWidget* getVentanaActiva() const { return ventanaActiva; }
  // The screen object created for a class name, nullptr before its first choice.
  TPantallaMenu* pantalla(const QString& clase) const;
  bool pintadoInicial() const { return uFlagPaintOnce; }
  QString getBaseDeDatos() const { return uBaseDeDatos; }
  QString moduloNombre() const { return LBL_moduloNombre->text(); }
  // Tickets not yet at the invoicing service, as the background retry last counted them; the
  // header shows them while there are any.
  int ticketsPendientes() const { return uPendientes; }
  QString textoPendientes() const;
  void muestraPendientes(int cantidad);

  // The panel ExecForm hands the host to embed.
  QWidget* panel() const { return PNL_puntoVenta; }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  QWidget* PNL_puntoVenta = nullptr;

  struct TModuloMenu {
    TGrupoMenu* elemento = nullptr;
    bool abierto = false;
    int entradas = 0;
    QPointer<QAbstractAnimation> animacion;
  };
  struct TEntradaMenu {
    TElementoMenu* elemento = nullptr;
    QString clase;  // screen class; empty for rows without a screen
    int sangria = 0;
    bool negrita = false;
    bool encabezado = false;  // heads a group: opens or closes it, is never chosen
  };

  void construyePanel();
  void aplicaEstilos();
  QWidget* construyeEncabezado();
  QWidget* construyeMenu();
  void agregaEntrada(TGrupoMenu* grupo, const QString& titulo, const QString& icono,
                     const QString& clase, bool visible = true);
  void agregaElemento(TElementoMenu* e, const QString& clase, int sangria, bool negrita,
                      bool encabezado);
  void anima(int grupo, int alto);
  void reiniciaMenu();
  void pintaMenu();
  void quitaVentanaActiva();
  void primerPintado();
  void actualizaReloj();

  TListaColores listaColores;
  QPointer<QWidget> ventanaActiva;
  std::array<TModuloMenu, 2> modulos;
  bool uFlagPaintOnce = false;
  QString uBaseDeDatos;

  QLabel* LBL_moduloNombre = nullptr;
  QLabel* LBL_negocio = nullptr;
  QLabel* LBL_estacion = nullptr;
  QPushButton* BTN_pendientes = nullptr;
  int uPendientes = 0;
  TCuerpoModulo* _body = nullptr;
  QTimer* uReloj = nullptr;
  QVector<TEntradaMenu> uMenu;
  QString uElegida;
  std::map<QString, std::unique_ptr<TPantallaMenu>> uPantallas;
  // Where an embedded element lived before the body took it, to give it back afterwards.
  QHash<QWidget*, QPointer<QWidget>> uPadres;
};
