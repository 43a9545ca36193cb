// The side menu's "No. de Serie" opens the package's serial-number screen.
#include "shell/registroPantallas.h"
#include "ui/TFRM_puntoNoSerie.h"

REGISTRA_PANTALLA(TFRM_puntoNoSerie);
