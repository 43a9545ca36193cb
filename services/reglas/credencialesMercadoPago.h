#pragma once
// The MercadoPago credentials as the credentials screen handles them: read and decrypted for
// display, checked, encrypted and stored. Saving never touches the stored access token: the
// checkout renews it when it expires.

#include <QString>

#include "db/TConexionSesion.h"
#include "util/resultado.h"

struct TCredencialesMercado {
  QString clienteID;
  QString clienteSecret;
  QString poi;
};

// The page where the account's credentials are read ("Consultar Credenciales").
QString u_paginaCredencialesMercadoPago();

// The stored credentials in clear; empty fields when there are none or they cannot be read.
TCredencialesMercado u_cargaCredencialesMercadoPago(int idNegocio, TConexionSesion& conexion);
// valida: the first empty value answers its message; blanks count as a value.
TResultado u_validaCredencialesMercadoPago(const TCredencialesMercado& c);
// Encrypts the three values and stores them.
TResultado u_guardaCredencialesMercadoPago(const TCredencialesMercado& c, int idNegocio,
                                           TConexionSesion& conexion);
