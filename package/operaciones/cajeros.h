#pragma once
// Cashiers: a person (name, contact, address, photo) plus a cashier key, state and note.

#include <QByteArray>
#include <QString>
#include <QVariant>

#include "db/CmidTierResponse.h"
#include "db/TConexionSesion.h"

struct TUbicacion {
  int id = 0;
  QString calle, noExterior, noInterior, colonia, localidad, referencia, municipio, estado, pais,
      codigoPostal;
};

struct TPersona {
  int id = 0;
  QString nombre, apellidoPaterno, apellidoMaterno;
  int sexo = -1;            // 1 male, 0 female, -1 not given
  QString fechaNacimiento;  // short date text "dd/MM/yyyy"
  QString mail, telefono, celular;
  int idNegocio = 0;
  QByteArray foto;  // image file bytes; empty = no photo
  TUbicacion ubicacion;
  bool tieneFoto() const { return !foto.isEmpty(); }
};

struct UREC_cajero {
  int id = 0;
  int personaID = 0;
  QString clave;
  QString nota;
  TPersona persona;
  int estadoVendedor = 0;
  QString estado;
  QString nombreCompleto;
};

// The state catalogue: column 0 id, column 1 label, in id order.
CmidTierResponse selectCajeroEstados(TConexionSesion& conexion);

// Cashiers of the business: puntoCajero_id, persona_idPersona, puntoCajero_clave,
// persona_nombre (name and both surnames), ventasVendedorEstado_id,
// ventasVendedorEstado_etiqueta. `nombre` and `clave` are LIKE patterns or null (case
// ignored); `estado` an integer or null.
CmidTierResponse consultaCajeros(const QVariant& nombre, const QVariant& clave,
                                 const QVariant& estado, int idNegocio, TConexionSesion& conexion);

// The cashier with its person and address; id 0 when there is no such cashier.
UREC_cajero buscaCajero(int cajeroId, TConexionSesion& conexion);

// True when another cashier of the business already has the key. Keeping the loaded key
// (`claveActual`) is never a duplicate; case and surrounding blanks are ignored.
bool buscaClaveDuplciadaCajero(const QString& clave, const QString& claveActual, int idNegocio,
                               TConexionSesion& conexion);

// Address, person and cashier in one transaction; false stores nothing.
bool cajeroInserta(const UREC_cajero& cajero, int idNegocio, TConexionSesion& conexion);
// Updates the rows of cajero.id, cajero.persona.id and cajero.persona.ubicacion.id (an address
// is created when the person had none). The photo stored is the record's: none clears it.
bool cajeroActualiza(const UREC_cajero& cajero, TConexionSesion& conexion);
