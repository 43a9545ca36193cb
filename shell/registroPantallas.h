#pragma once
// Screens the side menu opens, registered by class name. A subsystem plugs its screen in with
// one line in one of its .cpp files:
//
//   REGISTRA_PANTALLA(TFRM_cajeros);                      // list screen, embedded in the body
//   REGISTRA_PANTALLA_VENTANA(TFRM_configuracionX);        // shows its own window
//   REGISTRA_PANTALLA_GLOBAL(TFRM_caja, FRM_caja, true);   // the subsystem's single instance
//
// The class needs `init()` (and a default constructor unless it is a global instance). The
// widget embedded in the body is the form's `contenido()` when it has one, else the form.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>

#include "ui/pantallaNombrada.h"

// One screen instance as the menu sees it.
class TPantallaMenu {
 public:
  virtual ~TPantallaMenu() = default;
  virtual void init() = 0;
  // The element shown inside the module's body (unused for screens with their own window).
  virtual QWidget* contenido() = 0;
  // The screen's named interface (ui/pantallaNombrada.h), when it has one.
  virtual TPantallaNombrada* nombrada() { return nullptr; }
};

using TFabricaPantalla = std::function<std::unique_ptr<TPantallaMenu>()>;

struct TRegistroPantalla {
  TFabricaPantalla fabrica;
  bool ventanaPropia = false;  // shows itself (the sale register); the body stays empty
};

// Registers (or replaces) a screen; answers what was registered before under that name.
std::optional<TRegistroPantalla> registraPantalla(const QString& clase, TRegistroPantalla registro);
void eliminaPantalla(const QString& clase);
std::optional<TRegistroPantalla> buscaPantalla(const QString& clase);
// Every class registered, in name order (the screen-geometry test walks them all).
QStringList pantallasRegistradas();

// The element of a form that the body shows: its contenido() when it has one, else itself.
template <class T>
QWidget* contenidoDe(T* forma) {
  if (!forma) return nullptr;
  if constexpr (requires(T & t) { t.contenido(); })
    return forma->contenido();
  else
    return forma;
}

// Adapter for a form class T with init() and, optionally, contenido().
template <class T>
class TPantallaForma : public TPantallaMenu {
 public:
  TPantallaForma() : uForma(new T()) {}
  ~TPantallaForma() override { delete uForma.data(); }
  void init() override {
    if (uForma) uForma->init();
  }
  QWidget* contenido() override { return contenidoDe(uForma.data()); }
  TPantallaNombrada* nombrada() override {
    if constexpr (std::is_base_of_v<TPantallaNombrada, T>)
      return uForma.data();
    else
      return nullptr;
  }
  T* forma() const { return uForma.data(); }

 private:
  // Guarded: once embedded, the body owns the widget and may delete it first.
  QPointer<T> uForma;
};

// Adapter for a screen its subsystem keeps as a single instance: used, never owned.
template <class T>
class TPantallaGlobal : public TPantallaMenu {
 public:
  explicit TPantallaGlobal(T* (*instancia)()) : uForma(instancia()) {}
  void init() override {
    if (uForma) uForma->init();
  }
  QWidget* contenido() override { return contenidoDe(uForma.data()); }
  TPantallaNombrada* nombrada() override {
    if constexpr (std::is_base_of_v<TPantallaNombrada, T>)
      return uForma.data();
    else
      return nullptr;
  }
  T* forma() const { return uForma.data(); }

 private:
  QPointer<T> uForma;
};

template <class T>
bool registraPantallaGlobal(const QString& clase, T* (*instancia)(), bool ventanaPropia) {
  registraPantalla(clase, {[instancia] { return std::make_unique<TPantallaGlobal<T>>(instancia); },
                           ventanaPropia});
  return true;
}

template <class T>
bool registraPantallaForma(const QString& clase, bool ventanaPropia) {
  registraPantalla(clase, {[] { return std::make_unique<TPantallaForma<T>>(); }, ventanaPropia});
  return true;
}

#define REGISTRA_PANTALLA(Clase)                                \
  [[maybe_unused]] static const bool registroPantalla_##Clase = \
      registraPantallaForma<Clase>(QStringLiteral(#Clase), false)
#define REGISTRA_PANTALLA_GLOBAL(Clase, instancia, ventanaPropia) \
  [[maybe_unused]] static const bool registroPantalla_##Clase =   \
      registraPantallaGlobal<Clase>(QStringLiteral(#Clase), &instancia, ventanaPropia)
#define REGISTRA_PANTALLA_VENTANA(Clase)                        \
  [[maybe_unused]] static const bool registroPantalla_##Clase = \
      registraPantallaForma<Clase>(QStringLiteral(#Clase), true)
