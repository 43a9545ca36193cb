#include <gtest/gtest.h>

#include "operaciones/cajeros.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/SupervisorPrueba.h"

namespace {

UREC_cajero cajeroCompleto() {
  UREC_cajero c;
  c.clave = "ANA1";
  c.nota = "Turno matutino";
  c.estadoVendedor = 1;
  TPersona& p = c.persona;
  p.nombre = "Ana María";
  p.apellidoPaterno = "Núñez";
  p.apellidoMaterno = "Ortega";
  p.sexo = 0;
  p.fechaNacimiento = "14/02/1990";
  p.mail = "ana@tienda.mx";
  p.telefono = "5512345678";
  p.celular = "5587654321";
  p.idNegocio = 1;
  p.foto = QByteArray("\x89PNG\r\n\x1a\n-datos-", 16);
  TUbicacion& u = p.ubicacion;
  u.calle = "Reforma";
  u.noExterior = "100";
  u.noInterior = "B";
  u.colonia = "Juárez";
  u.localidad = "CDMX";
  u.referencia = "Frente al parque";
  u.municipio = "Cuauhtémoc";
  u.estado = "Ciudad de México";
  u.pais = "México";
  u.codigoPostal = "06600";
  return c;
}

class CajerosDatos : public PruebaAmbosMotores {
 protected:
  void SetUp() override {
    PruebaAmbosMotores::SetUp();
    if (!db) return;
    CatalogoPrueba(conexion()).negocioBasico();
    CatalogoPrueba(conexion(), 2).negocioBasico();
    s = std::make_unique<SupervisorPrueba>(conexion());
  }
  int filas(const char* tabla) {
    return s->entero(QStringLiteral("SELECT COUNT(*) FROM %1").arg(tabla));
  }
  std::unique_ptr<SupervisorPrueba> s;
};

TEST_P(CajerosDatos, UnCajeroSeGuardaYSeLeeCompleto) {
  ASSERT_TRUE(cajeroInserta(cajeroCompleto(), 1, conexion()));
  const int id = s->entero("SELECT id FROM puntoCajero WHERE clave = 'ANA1'");
  const UREC_cajero c = buscaCajero(id, conexion());
  ASSERT_EQ(c.id, id);
  const UREC_cajero e = cajeroCompleto();
  EXPECT_EQ(c.clave, e.clave);
  EXPECT_EQ(c.nota, e.nota);
  EXPECT_EQ(c.estadoVendedor, 1);
  EXPECT_EQ(c.estado, "Activo");
  EXPECT_EQ(c.nombreCompleto, "Ana María Núñez Ortega");
  EXPECT_GT(c.persona.id, 0);
  EXPECT_EQ(c.personaID, c.persona.id);
  EXPECT_EQ(c.persona.sexo, 0);
  EXPECT_EQ(c.persona.fechaNacimiento, "14/02/1990");
  EXPECT_EQ(c.persona.mail, e.persona.mail);
  EXPECT_EQ(c.persona.telefono, e.persona.telefono);
  EXPECT_EQ(c.persona.celular, e.persona.celular);
  EXPECT_EQ(c.persona.foto, e.persona.foto);
  EXPECT_EQ(c.persona.idNegocio, 1);
  const TUbicacion& u = c.persona.ubicacion;
  EXPECT_GT(u.id, 0);
  EXPECT_EQ(QStringList({u.calle, u.noExterior, u.noInterior, u.colonia, u.localidad, u.referencia,
                         u.municipio, u.estado, u.pais, u.codigoPostal}),
            QStringList({"Reforma", "100", "B", "Juárez", "CDMX", "Frente al parque", "Cuauhtémoc",
                         "Ciudad de México", "México", "06600"}));
  EXPECT_EQ(buscaCajero(9999, conexion()).id, 0);
}

TEST_P(CajerosDatos, LaConsultaFiltraPorNombreClaveYEstado) {
  s->cajero("ANA1", "Ana", "Núñez", "Ortega");
  s->cajero("BETO", "Alberto", "Ruiz", "Sol", 2);
  s->cajero("CIRO", "Ciro", "Anaya", "Paz", 3);
  SupervisorPrueba(conexion(), 2).cajero("ANA1", "Ana", "Ajena", "Dos");
  const QVariant nulo(QMetaType::fromType<QString>());
  const QVariant nuloEntero(QMetaType::fromType<int>());

  const CmidTierResponse todos = consultaCajeros(nulo, nulo, nuloEntero, 1, conexion());
  ASSERT_TRUE(todos.ok()) << todos.getError().toStdString();
  ASSERT_EQ(todos.getRowCount(), 3);
  for (const char* alias :
       {"puntoCajero_id", "persona_idPersona", "puntoCajero_clave", "persona_nombre",
        "ventasVendedorEstado_id", "ventasVendedorEstado_etiqueta"})
    EXPECT_TRUE(todos.tieneColumna(alias)) << alias;
  EXPECT_EQ(todos.getCelda("persona_nombre", 0), "Alberto Ruiz Sol");
  EXPECT_EQ(todos.getCelda("ventasVendedorEstado_etiqueta", 0), "Inactivo");

  // The name filter spans name and surnames and ignores case.
  const auto porNombre = consultaCajeros(QVariant("%ana%"), nulo, nuloEntero, 1, conexion());
  ASSERT_EQ(porNombre.getRowCount(), 2);
  EXPECT_EQ(porNombre.getCelda("puntoCajero_clave", 0), "ANA1");
  EXPECT_EQ(porNombre.getCelda("puntoCajero_clave", 1), "CIRO");
  EXPECT_EQ(consultaCajeros(nulo, QVariant("%et%"), nuloEntero, 1, conexion()).getRowCount(), 1);
  // Only active cashiers: the inactive and the suspended never show, whatever the search.
  const auto activos = consultaCajeros(nulo, nulo, 1, 1, conexion());
  ASSERT_EQ(activos.getRowCount(), 1);
  EXPECT_EQ(activos.getCelda("puntoCajero_clave"), "ANA1");
  EXPECT_EQ(consultaCajeros(QVariant("%Ciro%"), nulo, 1, 1, conexion()).getRowCount(), 0);
}

TEST_P(CajerosDatos, ClaveDuplicadaYActualizacion) {
  ASSERT_TRUE(cajeroInserta(cajeroCompleto(), 1, conexion()));
  const int beto = s->cajero("BETO", "Alberto", "Ruiz", "Sol");
  EXPECT_TRUE(buscaClaveDuplciadaCajero("ana1 ", "", 1, conexion()));
  EXPECT_FALSE(buscaClaveDuplciadaCajero("ANA2", "", 1, conexion()));
  EXPECT_FALSE(buscaClaveDuplciadaCajero("ANA1", "", 2, conexion()));
  // Editing: keeping one's own key is no duplicate; taking another cashier's key is.
  EXPECT_FALSE(buscaClaveDuplciadaCajero("BETO", "BETO", 1, conexion()));
  EXPECT_TRUE(buscaClaveDuplciadaCajero("ANA1", "BETO", 1, conexion()));

  UREC_cajero c = buscaCajero(beto, conexion());
  const int persona = c.persona.id;
  c.clave = "ANA1";
  EXPECT_FALSE(cajeroActualiza(c, conexion()));
  c.clave = "BETO2";
  c.persona.apellidoMaterno = "Solís";
  c.persona.sexo = -1;
  c.persona.ubicacion.calle = "Madero";
  c.persona.foto = QByteArray("foto");
  ASSERT_TRUE(cajeroActualiza(c, conexion()));
  UREC_cajero leido = buscaCajero(beto, conexion());
  EXPECT_EQ(leido.clave, "BETO2");
  EXPECT_EQ(leido.persona.id, persona);
  EXPECT_EQ(leido.persona.sexo, -1);
  EXPECT_EQ(leido.persona.apellidoMaterno, "Solís");
  EXPECT_EQ(leido.persona.ubicacion.calle, "Madero");
  EXPECT_EQ(leido.persona.foto, QByteArray("foto"));
  // No photo in the record clears the stored one.
  leido.persona.foto.clear();
  ASSERT_TRUE(cajeroActualiza(leido, conexion()));
  EXPECT_FALSE(buscaCajero(beto, conexion()).persona.tieneFoto());
  // The record may not point at another cashier's person.
  UREC_cajero ajeno = buscaCajero(beto, conexion());
  ajeno.persona.id =
      buscaCajero(s->entero("SELECT id FROM puntoCajero WHERE clave = 'ANA1'"), conexion())
          .persona.id;
  EXPECT_FALSE(cajeroActualiza(ajeno, conexion()));
  EXPECT_EQ(filas("Persona"), 2);
  EXPECT_EQ(filas("Ubicacion"), 2);
}

TEST_P(CajerosDatos, UnAltaFallidaNoDejaNadaAMedias) {
  UREC_cajero c = cajeroCompleto();
  c.estadoVendedor = 99;  // not in the state catalogue
  EXPECT_FALSE(cajeroInserta(c, 1, conexion()));
  c = cajeroCompleto();
  c.clave = "  ";
  EXPECT_FALSE(cajeroInserta(c, 1, conexion()));
  EXPECT_EQ(filas("Persona"), 0);
  EXPECT_EQ(filas("Ubicacion"), 0);
  EXPECT_EQ(filas("puntoCajero"), 0);
  const CmidTierResponse estados = selectCajeroEstados(conexion());
  ASSERT_EQ(estados.getRowCount(), 3);
  EXPECT_EQ(estados.getCelda(0, 0), "1");
  EXPECT_EQ(estados.getCelda(1, 0), "Activo");
}

INSTANCIA_AMBOS_MOTORES(CajerosDatos);

}  // namespace
