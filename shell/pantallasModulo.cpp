// The screens of the module's subsystems that the side menu opens. A subsystem may as well
// register its screen in one of its own files.
#include "sale/TFRM_caja.h"
#include "shell/registroPantallas.h"

REGISTRA_PANTALLA_GLOBAL(TFRM_caja, FRM_caja, true);
