#pragma once
// The business's ticket logo: where it lives, the check a chosen image must pass, and how it is
// put in place or taken away. The receipt printer reads the same file.

#include <QString>

#include "util/resultado.h"

inline constexpr int LOGO_ANCHO_MAXIMO = 300;
inline constexpr int LOGO_ALTO_MAXIMO = 110;

// <carpeta>/Formatos/<RFC>/logoTicket.bmp
QString rutaLogoTicket(const QString& carpetaAplicacion, const QString& rfc);

// A ".bmp" (exactly, lower case) that exists, loads as an image and is at most 300 x 110. A
// missing file is refused without a message; a file that is not a readable bitmap, or one
// over the limits, with the warning the screen shows.
TResultado compruebaArchivoLogo(const QString& archivo);

// Copies the image as the business logo (creating the folders), replacing the previous one only
// once the copy is whole. False when it could not be written; the previous logo then stays.
bool copiaArchivoLogo(const QString& archivo, const QString& carpetaAplicacion, const QString& rfc);

// No logo any more: tickets print without one. Nothing happens when there is none.
void restauraLogoTicket(const QString& carpetaAplicacion, const QString& rfc);
