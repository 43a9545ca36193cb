#pragma once
// Screens the side menu opens, registered by class name. A subsystem plugs its screen in with
// one line in one of its .cpp files:
//
//   REGISTRA_PANTALLA(TFRM_cajeros);                 // list screen, embedded in the body
//   REGISTRA_PANTALLA_VENTANA(TFRM_caja);            // own full-screen window
//
// The class needs a default constructor and `init()`. The widget embedded in the body is
// the form's `contenido()` when it has one, else the form itself.

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

// One screen instance as the menu sees it.
class TPantallaMenu {
 public:
  virtual ~TPantallaMenu() = default;
  virtual void init() = 0;
  // The element shown inside the module's body (unused for screens with their own window).
  virtual QWidget* contenido() = 0;
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

// Adapter for a form class T with init() and, optionally, contenido().
template <class T>
class TPantallaForma : public TPantallaMenu {
 public:
  TPantallaForma() : uForma(new T()) {}
  ~TPantallaForma() override { delete uForma.data(); }
  void init() override {
    if (uForma) uForma->init();
  }
  QWidget* contenido() override {
    if (!uForma) return nullptr;
    if constexpr (requires(T & t) { t.contenido(); })
      return uForma->contenido();
    else
      return uForma.data();
  }
  T* forma() const { return uForma.data(); }

 private:
  // Guarded: once embedded, the body owns the widget and may delete it first.
  QPointer<T> uForma;
};

template <class T>
bool registraPantallaForma(const QString& clase, bool ventanaPropia) {
  registraPantalla(clase, {[] { return std::make_unique<TPantallaForma<T>>(); }, ventanaPropia});
  return true;
}

#define REGISTRA_PANTALLA(Clase)                                \
  [[maybe_unused]] static const bool registroPantalla_##Clase = \
      registraPantallaForma<Clase>(QStringLiteral(#Clase), false)
#define REGISTRA_PANTALLA_VENTANA(Clase)                        \
  [[maybe_unused]] static const bool registroPantalla_##Clase = \
      registraPantallaForma<Clase>(QStringLiteral(#Clase), true)
