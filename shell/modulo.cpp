// Registration of the module's entry form while the library is loaded.
#include "registro/registroClases.h"
#include "shell/TFRM_main_puntoVenta.h"

namespace {
struct RegistroModulo {
  RegistroModulo() {
    registraClase(QStringLiteral("TFRM_main_puntoVenta"), &TFRM_main_puntoVenta::ExecForm);
  }
  ~RegistroModulo() { eliminaClase(QStringLiteral("TFRM_main_puntoVenta")); }
};
const RegistroModulo gRegistro;
}  // namespace
