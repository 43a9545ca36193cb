#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <functional>

#include "support/RespondedorPrueba.h"
#include "ui/TFRM_editar.h"

namespace {

// Runs the dialog with one scripted handler standing in for the cashier.
TRespuestaEditar captura(bool fraccion, const QString& titulo, const QString& valor, int largo,
                         std::function<int(TFRM_editar&)> cajero) {
  RespondedorPrueba r;
  r.manejadores.push_back([&](QDialog* d) {
    auto* e = qobject_cast<TFRM_editar*>(d);
    if (!e) {
      ADD_FAILURE() << "the entry dialog was not the one run";
      return int(QDialog::Rejected);
    }
    EXPECT_EQ(e->titulo(), titulo);
    EXPECT_EQ(e->esFraccion(), fraccion);
    return cajero(*e);
  });
  TFRM_editar editar;
  TRespuestaEditar res = fraccion ? editar.initNumericoFraccion(titulo, valor, largo)
                                  : editar.initNumericoEntero(titulo, valor, largo);
  EXPECT_EQ(r.dialogos.size(), 1);
  return res;
}

int aceptando(TFRM_editar& e) {
  e.acepta();
  return e.result();
}

TEST(Editar, EnteroSoloAceptaDigitos) {
  const TRespuestaEditar r = captura(false, "Billetes", "3", 20, [](TFRM_editar& e) {
    EXPECT_EQ(e.texto(), "3") << "starts from the current value";
    EXPECT_TRUE(e.pulsaTecla("5")) << "the first key replaces the shown value";
    EXPECT_EQ(e.texto(), "5");
    EXPECT_FALSE(e.pulsaTecla("."));
    EXPECT_FALSE(e.boton(".")->isEnabled());
    EXPECT_FALSE(e.pulsaTecla("x"));
    EXPECT_FALSE(e.pulsaTecla("-"));
    e.boton("2")->click();
    EXPECT_EQ(e.texto(), "52");
    return aceptando(e);
  });
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.texto, "52");
}

TEST(Editar, FraccionAceptaUnSoloPunto) {
  const TRespuestaEditar r = captura(true, "Apertura Monto", "1500.5", 20, [](TFRM_editar& e) {
    EXPECT_EQ(e.texto(), "1500.5");
    for (const char* t : {"1", "2", ".", "5"}) EXPECT_TRUE(e.pulsaTecla(t)) << t;
    EXPECT_FALSE(e.pulsaTecla(".")) << "a second decimal point";
    EXPECT_TRUE(e.pulsaTecla("0"));
    EXPECT_EQ(e.texto(), "12.50");
    return aceptando(e);
  });
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.texto, "12.50");
}

TEST(Editar, FraccionNormalizaPuntosSueltos) {
  auto acepta = [](const QString& tecleado) {
    return captura(true, "Monto", "", 20, [&](TFRM_editar& e) {
      EXPECT_TRUE(e.setTexto(tecleado));
      return aceptando(e);
    });
  };
  EXPECT_EQ(acepta(".5").texto, "0.5");
  EXPECT_EQ(acepta("7.").texto, "7");
  EXPECT_EQ(acepta(".").texto, "");
  EXPECT_EQ(acepta("0.25").texto, "0.25");
}

TEST(Editar, LongitudMaximaYEdicion) {
  const TRespuestaEditar r = captura(false, "Billetes", "150", 4, [](TFRM_editar& e) {
    EXPECT_TRUE(e.pulsaTecla("←")) << "erasing keeps the rest of the shown value";
    EXPECT_EQ(e.texto(), "15");
    EXPECT_FALSE(e.setTexto("12345"));
    EXPECT_EQ(e.texto(), "1234");
    EXPECT_FALSE(e.pulsaTecla("9"));
    EXPECT_TRUE(e.pulsaTecla("Limpiar"));
    EXPECT_EQ(e.texto(), "");
    EXPECT_TRUE(e.pulsaTecla("0"));
    EXPECT_TRUE(e.pulsaTecla("7")) << "a lone zero gives way";
    EXPECT_EQ(e.texto(), "7");
    return aceptando(e);
  });
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.texto, "7");
}

TEST(Editar, CancelarYVacio) {
  const TRespuestaEditar cancelado = captura(false, "Billetes", "3", 20, [](TFRM_editar& e) {
    e.pulsaTecla("9");
    e.cancela();
    return e.result();
  });
  EXPECT_FALSE(cancelado.ok);

  const TRespuestaEditar vacio = captura(true, "Monto", "12.5", 20, [](TFRM_editar& e) {
    e.pulsaTecla("Limpiar");
    return aceptando(e);
  });
  EXPECT_TRUE(vacio.ok);
  EXPECT_EQ(vacio.texto, "");
}

TEST(Editar, ValorInicialInvalidoEmpiezaVacio) {
  captura(false, "Billetes", "12.5", 20, [](TFRM_editar& e) {
    EXPECT_EQ(e.texto(), "");
    return aceptando(e);
  });
  captura(true, "Monto", "$ 1,200.00", 20, [](TFRM_editar& e) {
    EXPECT_EQ(e.texto(), "");
    return aceptando(e);
  });
}

TEST(Editar, TecladoFisico) {
  const TRespuestaEditar r = captura(true, "Monto", "", 20, [](TFRM_editar& e) {
    QTest::keyClicks(&e, "3,5a");
    EXPECT_EQ(e.texto(), "3.5") << "a comma types the decimal point, letters are ignored";
    QTest::keyClick(&e, Qt::Key_Backspace);
    QTest::keyClick(&e, Qt::Key_Return);
    return e.result();
  });
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.texto, "3");

  const TRespuestaEditar esc = captura(false, "Billetes", "1", 20, [](TFRM_editar& e) {
    QTest::keyClick(&e, Qt::Key_Escape);
    return e.result();
  });
  EXPECT_FALSE(esc.ok);
}

}  // namespace
