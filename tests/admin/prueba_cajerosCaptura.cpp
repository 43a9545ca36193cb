#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <random>

#include "admin/TFRM_cajerosCaptura.h"
#include "operaciones/cajeros.h"
#include "support/BaseDatosPrueba.h"
#include "support/CatalogoPrueba.h"
#include "support/FilasPrueba.h"
#include "support/RespondedorPrueba.h"
#include "support/SupervisorPrueba.h"
#include "ui/TTecladoPantalla.h"
#include "util/imagenes.h"

namespace {

class CajerosCaptura : public PruebaSupervisor {
 protected:
  void SetUp() override {
    PruebaSupervisor::SetUp();
    if (!db) return;
  }
  // Runs a capture with `pasos` acting on the open dialog; answers what init answered.
  bool nuevo(std::function<void(TFRM_cajerosCaptura&)> pasos) {
    r.enDialogo(pasos);
    TFRM_cajerosCaptura captura;
    return captura.initNuevo(localSYS);
  }
  bool editar(int id, std::function<void(TFRM_cajerosCaptura&)> pasos) {
    r.enDialogo(pasos);
    TFRM_cajerosCaptura captura;
    return captura.initEditar(id, localSYS);
  }
  static void obligatorios(TFRM_cajerosCaptura& c, const QString& clave) {
    c.escribe("Nombre", " Lucía ");
    c.escribe("A. Paterno", "Rey");
    c.escribe("A. Materno", "Soto");
    c.escribe("Clave", clave);
  }
};

TEST_F(CajerosCaptura, LaValidacionSigueSuOrdenYElAltaGuardaLoCapturado) {
  QStringList mensajes;
  const bool guardado = nuevo([&](TFRM_cajerosCaptura& c) {
    EXPECT_EQ(c.texto("Título"), "Nuevo Cajero");
    EXPECT_EQ(c.texto("Pestañas"), "Cajero");
    EXPECT_FALSE(c.habilitado("Estado"));
    EXPECT_EQ(c.texto("Estado"), "Activo");
    EXPECT_EQ(c.dato("Fecha Nac.").toDate(), QDate::currentDate());
    const std::vector<std::function<void()>> arreglos = {
        [&] { c.escribe("Nombre", " Lucía "); },
        [&] { c.escribe("A. Paterno", "Rey"); },
        [&] { c.escribe("A. Materno", "Soto"); },
        [&] {
          c.escribe("Clave", " LR1 ");
          c.escribe("Mail", "lucia@");
        },
        [&] {
          c.escribe("Mail", "lucia@tienda.mx");
          c.escribe("Teléfono", "551234");
        },
        [&] {
          c.escribe("Teléfono", "5512345678");
          c.escribe("Cell", "12");
        },
        [&] {
          c.escribe("Cell", "");
          c.escribe("Código Postal", "123");
        },
        [&] { c.escribe("Código Postal", "06600"); },
    };
    for (const auto& arregla : arreglos) {
      c.BTN_aceptarClick();
      arregla();
    }
    // Every check passes: the confirmation is asked; Cancel stores nothing.
    r.respuestas.push_back(false);
    c.BTN_aceptarClick();
    EXPECT_EQ(c.uAceptar, false);
    c.escribe("Calle", " Hidalgo ");
    c.escribe("Nota", "  Nueva  ");
    c.BTN_aceptarClick();
    mensajes = r.textos();
  });
  EXPECT_EQ(mensajes,
            QStringList({"Capture un nombre.", "Capture apellido paterno",
                         "Capture apellido materno", "Capture clave de usuario",
                         "Dirección de correo electrónico mal formada, intente nuevamente",
                         "Número telefónico mal formado, intente nuevamente",
                         "Número teléfono celular mal formado, intente nuevamente",
                         "Código postal mal formado, intente nuevamente"}));
  for (const auto& m : r.mensajes) EXPECT_EQ(m.tipo, 4);
  EXPECT_EQ(r.preguntas, QStringList(2,
                                     "Revise que los datos capturados sean correctos, "
                                     "¿Desea guardar esta información?"));
  ASSERT_TRUE(guardado);
  const int id = s->entero("SELECT id FROM puntoCajero WHERE clave = 'LR1'");
  const UREC_cajero c = buscaCajero(id, db->conexion());
  EXPECT_EQ(c.persona.nombre, "Lucía");
  EXPECT_EQ(c.persona.sexo, -1);  // neither button checked
  EXPECT_FALSE(c.persona.tieneFoto());
  EXPECT_EQ(c.estadoVendedor, 1);
  EXPECT_EQ(c.nota, "Nueva");
  EXPECT_EQ(c.persona.ubicacion.calle, "Hidalgo");
  EXPECT_EQ(c.persona.celular, "");
  EXPECT_EQ(c.persona.fechaNacimiento, QDate::currentDate().toString("dd/MM/yyyy"));
}

TEST_F(CajerosCaptura, LaClaveDuplicadaSeRechazaAntesDePreguntar) {
  s->cajero("C01", "Ana");
  const bool guardado = nuevo([&](TFRM_cajerosCaptura& c) {
    obligatorios(c, " c01 ");
    c.BTN_aceptarClick();
  });
  EXPECT_FALSE(guardado);
  EXPECT_EQ(r.textos(), QStringList("La clave capturada esta duplicada. Intente nuevamente."));
  EXPECT_TRUE(r.preguntas.isEmpty());
  EXPECT_EQ(s->entero("SELECT COUNT(*) FROM puntoCajero"), 1);
}

TEST_F(CajerosCaptura, EditarCargaElCajeroYConservaSuClaveYSuEstado) {
  const int ana = s->cajero("C01", "Ana", "Pérez", "López", 2);
  s->cajero("C02", "Beto");
  UREC_cajero c = buscaCajero(ana, db->conexion());
  c.persona.sexo = 1;
  c.persona.fechaNacimiento = "03/07/1985";
  QImage foto(30, 20, QImage::Format_RGB32);
  foto.fill(Qt::red);
  c.persona.foto = u_bitmap_TO_bytes(foto);
  ASSERT_TRUE(cajeroActualiza(c, db->conexion()));
  const int persona = c.persona.id;

  const bool guardado = editar(ana, [&](TFRM_cajerosCaptura& d) {
    EXPECT_EQ(d.texto("Título"), "Editar Cajero");
    EXPECT_EQ(d.texto("Clave"), "C01");
    EXPECT_EQ(d.uClaveActual, "C01");
    EXPECT_TRUE(d.dato("Masculino").toBool());
    EXPECT_FALSE(d.dato("Femenino").toBool());
    EXPECT_EQ(d.dato("Fecha Nac.").toDate(), QDate(1985, 7, 3));
    EXPECT_EQ(d.texto("Estado"), "Inactivo");
    EXPECT_FALSE(d.habilitado("Estado"));
    EXPECT_TRUE(d.uImagenCargada);
    EXPECT_EQ(d.uImagen.size(), QSize(30, 20));
    d.escribe("Clave", "C02");
    d.BTN_aceptarClick();
    EXPECT_EQ(r.textos(), QStringList("La clave capturada esta duplicada. Intente nuevamente."));
    d.escribe("Clave", " C01 ");
    d.escribe("A. Materno", "Luna");
    d.BTN_aceptarClick();
  });
  ASSERT_TRUE(guardado);
  const UREC_cajero leido = buscaCajero(ana, db->conexion());
  EXPECT_EQ(leido.persona.id, persona);
  EXPECT_EQ(leido.persona.apellidoMaterno, "Luna");
  EXPECT_EQ(leido.estadoVendedor, 2);
  EXPECT_EQ(leido.persona.sexo, 1);
  EXPECT_EQ(u_bytes_TO_bitmap(leido.persona.foto).size(), QSize(30, 20));
  EXPECT_EQ(s->entero("SELECT COUNT(*) FROM Persona"), 2);
}

// A grey-noise picture whose stored bytes number exactly `objetivo`.
QImage imagenDeBytes(int objetivo) {
  for (unsigned semilla = 1; semilla < 20; ++semilla) {
    QImage ruido(300, 300, QImage::Format_Grayscale8);
    std::mt19937 gen(semilla);
    for (int y = 0; y < ruido.height(); ++y)
      for (int x = 0; x < ruido.width(); ++x) ruido.scanLine(y)[x] = gen() & 0xFF;
    auto conRuido = [&](int n) {
      QImage i(ruido.size(), ruido.format());
      i.fill(0);
      for (int p = 0; p < n; ++p)
        i.scanLine(p / i.width())[p % i.width()] =
            ruido.constScanLine(p / i.width())[p % i.width()];
      return i;
    };
    int bajo = 0, alto = ruido.width() * ruido.height();
    while (alto - bajo > 1) {
      const int medio = (bajo + alto) / 2;
      (u_bitmap_TO_bytes(conRuido(medio)).size() < objetivo ? bajo : alto) = medio;
    }
    for (int n = std::max(0, bajo - 40); n < bajo + 40; ++n) {
      QImage i = conRuido(n);
      if (u_bitmap_TO_bytes(i).size() == objetivo) return i;
    }
  }
  return QImage();
}

TEST_F(CajerosCaptura, LaFotoRespetaSusLimitesExactos) {
  TFRM_cajerosCaptura c;
  QTemporaryDir carpeta;
  auto guarda = [&](const QImage& i, const QString& nombre) {
    const QString ruta = carpeta.filePath(nombre);
    EXPECT_TRUE(i.save(ruta, "PNG"));
    return ruta;
  };
  QImage lisa(1000, 1000, QImage::Format_RGB32);
  lisa.fill(qRgb(20, 120, 200));
  c.cargaFotoArchivo(guarda(lisa, "mil.png"));
  EXPECT_TRUE(c.uImagenCargada);
  EXPECT_TRUE(r.mensajes.empty());

  const QString sizeMsg =
      "Archivo de imagen sobrepasa el tamaño máximo. Seleccione una imágen no mayor a 1000 x "
      "1000px.";
  for (QSize tam : {QSize(1001, 1000), QSize(1000, 1001)}) {
    QImage grande(tam, QImage::Format_RGB32);
    grande.fill(Qt::white);
    c.cargaFotoArchivo(guarda(grande, "grande.png"));
    EXPECT_FALSE(c.uImagenCargada);
    EXPECT_EQ(r.textos().last(), sizeMsg);
  }

  const QImage justa = imagenDeBytes(65000);
  const QImage pasada = imagenDeBytes(65001);
  ASSERT_FALSE(justa.isNull());
  ASSERT_FALSE(pasada.isNull());
  const QString rutaJusta = guarda(justa, "justa.png");
  const QString rutaPasada = guarda(pasada, "pasada.png");
  // What the dialog counts: the bytes of the picture as loaded from its file.
  ASSERT_EQ(u_bitmap_TO_bytes(QImage(rutaJusta)).size(), 65000);
  ASSERT_EQ(u_bitmap_TO_bytes(QImage(rutaPasada)).size(), 65001);
  r.mensajes.clear();
  c.cargaFotoArchivo(rutaJusta);
  EXPECT_TRUE(c.uImagenCargada);
  EXPECT_TRUE(r.mensajes.empty());
  EXPECT_EQ(c.reuneDatosCajero().persona.foto.size(), 65000);
  c.cargaFotoArchivo(rutaPasada);
  EXPECT_FALSE(c.uImagenCargada);
  EXPECT_EQ(r.textos(), QStringList("Seleccione una imagen de menores dimensiones (6.5Kb)"));
  EXPECT_TRUE(c.uImagen.isNull());  // the placeholder is shown, nothing is kept
  EXPECT_TRUE(c.reuneDatosCajero().persona.foto.isEmpty());

  QFile basura(carpeta.filePath("foto.png"));
  ASSERT_TRUE(basura.open(QIODevice::WriteOnly));
  basura.write("esto no es una imagen");
  basura.close();
  c.cargaFotoArchivo(basura.fileName());
  EXPECT_FALSE(c.uImagenCargada);
  EXPECT_EQ(r.textos().last(), "El archivo seleccionado no es una imágen valida.");

  // Through the file question: cancelling changes nothing, a chosen file is taken.
  c.cargaFotoArchivo(rutaJusta);
  c.imagenBuscar();
  EXPECT_TRUE(c.uImagenCargada);
  r.manejadores.push_back([&](QDialog* d) {
    auto* f = qobject_cast<QFileDialog*>(d);
    EXPECT_TRUE(f);
    f->selectFile(carpeta.filePath("grande.png"));
    return int(QDialog::Accepted);
  });
  c.imagenBuscar();
  EXPECT_FALSE(c.uImagenCargada);
  EXPECT_EQ(r.textos().last(), sizeMsg);
}

TEST_F(CajerosCaptura, LosCamposNumericosSoloTomanDigitos) {
  TFRM_cajerosCaptura c;
  c.show();
  c.teclea("Teléfono", "55ab12-34 5678999");
  EXPECT_EQ(c.texto("Teléfono"), "5512345678");
  c.teclea("Código Postal", "0x66.00");
  EXPECT_EQ(c.texto("Código Postal"), "06600");
  c.teclea("Int.", QString(35, 'A'));
  EXPECT_EQ(c.texto("Int.").size(), 30);
  c.teclea("Clave", "ABCDEFGHIJKL");
  EXPECT_EQ(c.texto("Clave"), "ABCDEFGHIJ");
  // The on-screen keyboard obeys the same rules.
  c.pulsa("Cell");
  EXPECT_TRUE(c.visible("Teclado"));
  for (const char* t : {"5", "A", "5", "espacio"}) c.pulsaTecla(t);
  EXPECT_EQ(c.texto("Cell"), "55");
  EXPECT_FALSE(c.dato("Teclado").toBool());
  // An e-mail address can be typed on the screen alone: the symbols row comes with the field.
  c.pulsa("Mail");
  EXPECT_TRUE(c.dato("Teclado").toBool());
  for (const char* t : {"A", "N", "A", "_", "R", "@", "X", "-", "Y", ".", "M", "X"})
    c.pulsaTecla(t);
  EXPECT_EQ(c.texto("Mail"), "ana_r@x-y.mx");
  EXPECT_EQ(TTecladoPantalla().boton("&")->text(), "&&");  // shown as "&", not a mnemonic
  c.pulsa("Cell");
  EXPECT_FALSE(c.dato("Teclado").toBool());
  // Leaving a field runs its validator.
  c.escribe("Mail", "x@");
  c.dejaCampo("Mail");
  EXPECT_TRUE(c.invalido("Mail"));
  c.escribe("Código Postal", "066");
  c.dejaCampo("Código Postal");
  EXPECT_TRUE(c.invalido("Código Postal"));
  c.escribe("Código Postal", "06600");
  c.dejaCampo("Código Postal");
  EXPECT_FALSE(c.invalido("Código Postal"));
  EXPECT_TRUE(r.mensajes.empty());  // the validators' feedback is the field itself
}

}  // namespace
