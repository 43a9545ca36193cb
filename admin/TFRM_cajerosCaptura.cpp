#include "admin/TFRM_cajerosCaptura.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "resources/recursos.h"
#include "ui/TTecladoCampos.h"
#include "ui/camposTexto.h"
#include "ui/dialogoArchivo.h"
#include "ui/mensajes.h"
#include "util/imagenes.h"
#include "util/utilerias.h"
#include "util/validaciones.h"

namespace {

const QString kFormatoFecha = QStringLiteral("dd/MM/yyyy");

// Birth dates are stored as the short date text; older rows may hold ISO dates.
QDate leeFecha(const QString& texto) {
  QDate d = QDate::fromString(texto.trimmed(), kFormatoFecha);
  if (!d.isValid()) d = QDate::fromString(texto.trimmed().left(10), Qt::ISODate);
  return d;
}

}  // namespace

void TFRM_cajerosCaptura::preparaApertura(const TsistemaDatos& sistema) {
  uSistema = sistema;
  uAceptar = false;
  PGC_cajero->setCurrentIndex(0);
  DTP_fechaNacimiento->setDate(QDate::currentDate());
  uImagenCargada = false;
  uImagen = QImage();
  cargaComboCajeroEstado();
  CMB_vendedorEstado->setEnabled(false);
}

bool TFRM_cajerosCaptura::initNuevo(const TsistemaDatos& sistema) {
  preparaApertura(sistema);
  uCajeroID = 0;
  uRegistroNuevo = true;
  CMB_vendedorEstado->setCurrentIndex(CMB_vendedorEstado->count() > 0 ? 0 : -1);
  LBL_titulo->setText(QStringLiteral("Nuevo Cajero"));
  TXT_nombre->setFocus();
  muestraSinImagen();
  u_ejecutaModal(this);
  return uAceptar;
}

bool TFRM_cajerosCaptura::initEditar(int cajeroId, const TsistemaDatos& sistema) {
  preparaApertura(sistema);
  uCajeroID = cajeroId;
  uRegistroNuevo = false;
  LBL_titulo->setText(QStringLiteral("Editar Cajero"));
  cargaDatosCajero();
  uClaveActual = TXT_clave->text().trimmed();
  TXT_nombre->setFocus();
  u_ejecutaModal(this);
  return uAceptar;
}

void TFRM_cajerosCaptura::cargaComboCajeroEstado() {
  CMB_vendedorEstado->clear();
  uValueMember_CMB_cajeroEstado.clear();
  const CmidTierResponse r = selectCajeroEstados(uSistema.getConexion());
  if (!r.ok()) return;
  for (int i = 0; i < r.getRowCount(); ++i) {
    CMB_vendedorEstado->addItem(r.getCelda(1, i));
    uValueMember_CMB_cajeroEstado << u_strToInt(r.getCelda(0, i));
  }
}

void TFRM_cajerosCaptura::cargaDatosCajero() {
  const UREC_cajero c = buscaCajero(uCajeroID, uSistema.getConexion());
  const TPersona& p = c.persona;
  TXT_nombre->setText(p.nombre);
  TXT_apellidoPaterno->setText(p.apellidoPaterno);
  TXT_apellidoMaterno->setText(p.apellidoMaterno);
  // Both cleared first: an exclusive group would not let both go unchecked.
  RAD_masculino->setAutoExclusive(false);
  RAD_femenino->setAutoExclusive(false);
  RAD_masculino->setChecked(p.sexo == 1);
  RAD_femenino->setChecked(p.sexo == 0);
  RAD_masculino->setAutoExclusive(true);
  RAD_femenino->setAutoExclusive(true);
  const QDate nacimiento = leeFecha(p.fechaNacimiento);
  DTP_fechaNacimiento->setDate(nacimiento.isValid() ? nacimiento : QDate::currentDate());
  TXT_clave->setText(c.clave);
  TXT_mail->setText(p.mail);
  TXT_telefono->setText(p.telefono);
  TXT_cell->setText(p.celular);
  CMB_vendedorEstado->setCurrentIndex(FROM_arrayValue_TO_cboxIndex(
      uValueMember_CMB_cajeroEstado, static_cast<int>(uValueMember_CMB_cajeroEstado.size()) - 1,
      c.estadoVendedor));
  const QImage foto = u_bytes_TO_bitmap(p.foto);
  if (!foto.isNull()) {
    muestraFoto(foto);
    uImagenCargada = true;
  } else {
    muestraSinImagen();
  }
  const TUbicacion& u = p.ubicacion;
  TXT_calle->setText(u.calle);
  TXT_noExterior->setText(u.noExterior);
  TXT_noInterior->setText(u.noInterior);
  TXT_colonia->setText(u.colonia);
  TXT_localidad->setText(u.localidad);
  TXT_referencia->setText(u.referencia);
  TXT_municipio->setText(u.municipio);
  TXT_estado->setText(u.estado);
  TXT_pais->setText(u.pais);
  TXT_codigoPostal->setText(u.codigoPostal);
  TXT_nota->setPlainText(c.nota);
  uUbicacionID = u.id;
  uPersonaID = p.id;
}

void TFRM_cajerosCaptura::muestraFoto(const QImage& imagen) {
  uImagen = imagen;
  IMG_vendedor->setPixmap(QPixmap::fromImage(imagen).scaled(
      IMG_vendedor->size() - QSize(8, 8), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TFRM_cajerosCaptura::muestraSinImagen() {
  uImagen = QImage();
  IMG_vendedor->setPixmap(mini_imagen(QStringLiteral("sinImagen"), QSize(180, 180)));
}

void TFRM_cajerosCaptura::rechazaFoto(const QString& mensaje) {
  u_mensaje(mensaje, mtCustom);
  muestraSinImagen();
  uImagenCargada = false;
}

void TFRM_cajerosCaptura::imagenBuscar() {
  const QString archivo =
      u_dialogoAbrirArchivo(QStringLiteral("Seleccionar imagen"),
                            QStringLiteral("Imágenes (*.png *.jpg *.jpeg *.bmp *.gif)"));
  if (archivo.isEmpty()) return;
  cargaFotoArchivo(archivo);
}

void TFRM_cajerosCaptura::cargaFotoArchivo(const QString& archivo) {
  QImageReader lector(archivo);
  // The size is read from the header, so an oversized picture is refused without decoding it.
  const QSize tam = lector.size();
  if (!lector.canRead()) {
    rechazaFoto(QStringLiteral("El archivo seleccionado no es una imágen valida."));
    return;
  }
  if (tam.isValid() && (tam.width() > kLadoMaximoFoto || tam.height() > kLadoMaximoFoto)) {
    rechazaFoto(QStringLiteral(
        "Archivo de imagen sobrepasa el tamaño máximo. Seleccione una imágen no mayor a 1000 x "
        "1000px."));
    return;
  }
  const QImage imagen = lector.read();
  if (imagen.isNull()) {
    rechazaFoto(QStringLiteral("El archivo seleccionado no es una imágen valida."));
    return;
  }
  if (imagen.width() > kLadoMaximoFoto || imagen.height() > kLadoMaximoFoto) {
    rechazaFoto(QStringLiteral(
        "Archivo de imagen sobrepasa el tamaño máximo. Seleccione una imágen no mayor a 1000 x "
        "1000px."));
    return;
  }
  muestraFoto(imagen);
  if (u_bitmap_TO_bytes(uImagen).size() > kBytesMaximoFoto) {
    rechazaFoto(QStringLiteral("Seleccione una imagen de menores dimensiones (6.5Kb)"));
    return;
  }
  uImagenCargada = true;
}

bool TFRM_cajerosCaptura::valida() {
  auto falla = [this](QWidget* campo, const QString& mensaje) {
    u_mensaje(mensaje, mtCustom);
    // Show the tab that holds the field.
    for (int i = 0; i < PGC_cajero->count(); ++i)
      if (PGC_cajero->widget(i)->isAncestorOf(campo)) PGC_cajero->setCurrentIndex(i);
    campo->setFocus();
    return false;
  };
  if (TXT_nombre->text().trimmed().isEmpty())
    return falla(TXT_nombre, QStringLiteral("Capture un nombre."));
  if (TXT_apellidoPaterno->text().trimmed().isEmpty())
    return falla(TXT_apellidoPaterno, QStringLiteral("Capture apellido paterno"));
  if (TXT_apellidoMaterno->text().trimmed().isEmpty())
    return falla(TXT_apellidoMaterno, QStringLiteral("Capture apellido materno"));
  if (TXT_clave->text().trimmed().isEmpty())
    return falla(TXT_clave, QStringLiteral("Capture clave de usuario"));
  if (!valida_correo(TXT_mail))
    return falla(TXT_mail,
                 QStringLiteral("Dirección de correo electrónico mal formada, intente nuevamente"));
  if (!valida_numeroTelefono(TXT_telefono, 10))
    return falla(TXT_telefono, QStringLiteral("Número telefónico mal formado, intente nuevamente"));
  if (!valida_numeroTelefono(TXT_cell, 10))
    return falla(TXT_cell,
                 QStringLiteral("Número teléfono celular mal formado, intente nuevamente"));
  if (!valida_codigoPostal(TXT_codigoPostal))
    return falla(TXT_codigoPostal, QStringLiteral("Código postal mal formado, intente nuevamente"));
  return true;
}

UREC_cajero TFRM_cajerosCaptura::reuneDatosCajero() const {
  UREC_cajero c;
  c.clave = TXT_clave->text().trimmed();
  c.nota = TXT_nota->toPlainText().trimmed();
  const int i = CMB_vendedorEstado->currentIndex();
  c.estadoVendedor =
      (i >= 0 && i < uValueMember_CMB_cajeroEstado.size()) ? uValueMember_CMB_cajeroEstado[i] : 0;
  TPersona& p = c.persona;
  p.nombre = TXT_nombre->text().trimmed();
  p.apellidoPaterno = TXT_apellidoPaterno->text().trimmed();
  p.apellidoMaterno = TXT_apellidoMaterno->text().trimmed();
  p.sexo = RAD_masculino->isChecked() ? 1 : (RAD_femenino->isChecked() ? 0 : -1);
  p.fechaNacimiento = DTP_fechaNacimiento->date().toString(kFormatoFecha);
  p.mail = TXT_mail->text().trimmed();
  p.telefono = TXT_telefono->text().trimmed();
  p.celular = TXT_cell->text().trimmed();
  p.idNegocio = uSistema.getIdNegocio();
  if (uImagenCargada) p.foto = u_bitmap_TO_bytes(uImagen);
  TUbicacion& u = p.ubicacion;
  u.calle = TXT_calle->text().trimmed();
  u.noExterior = TXT_noExterior->text().trimmed();
  u.noInterior = TXT_noInterior->text().trimmed();
  u.colonia = TXT_colonia->text().trimmed();
  u.localidad = TXT_localidad->text().trimmed();
  u.referencia = TXT_referencia->text().trimmed();
  u.municipio = TXT_municipio->text().trimmed();
  u.estado = TXT_estado->text().trimmed();
  u.pais = TXT_pais->text().trimmed();
  u.codigoPostal = TXT_codigoPostal->text().trimmed();
  if (!uRegistroNuevo) {
    c.id = uCajeroID;
    c.personaID = uPersonaID;
    p.id = uPersonaID;
    u.id = uUbicacionID;
  }
  c.nombreCompleto = QStringList{p.nombre, p.apellidoPaterno, p.apellidoMaterno}.join(' ');
  return c;
}

void TFRM_cajerosCaptura::BTN_aceptarClick() {
  uTeclado->oculta();
  if (!valida()) return;
  if (buscaClaveDuplciadaCajero(TXT_clave->text().trimmed(), uClaveActual, uSistema.getIdNegocio(),
                                uSistema.getConexion())) {
    u_mensaje(QStringLiteral("La clave capturada esta duplicada. Intente nuevamente."), mtCustom);
    return;
  }
  if (!u_confirma(QStringLiteral(
          "Revise que los datos capturados sean correctos, ¿Desea guardar esta información?")))
    return;
  const UREC_cajero c = reuneDatosCajero();
  const bool guardado = uRegistroNuevo
                            ? cajeroInserta(c, uSistema.getIdNegocio(), uSistema.getConexion())
                            : cajeroActualiza(c, uSistema.getConexion());
  if (!guardado) return;
  uAceptar = true;
  accept();
}

bool TFRM_cajerosCaptura::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(evento);
    const QString t = k->text();
    if (!t.isEmpty() && t[0].isPrint()) {
      if ((objeto == TXT_telefono || objeto == TXT_cell || objeto == TXT_codigoPostal) &&
          !u_soloNumeros(t[0]))
        return true;
      if (objeto == TXT_noInterior && !u_maxLength(30, TXT_noInterior->text(), t[0])) return true;
    }
  } else if (evento->type() == QEvent::FocusOut) {
    if (objeto == TXT_mail) valida_correo(TXT_mail);
    if (objeto == TXT_telefono) valida_numeroTelefono(TXT_telefono, 10);
    if (objeto == TXT_cell) valida_numeroTelefono(TXT_cell, 10);
    if (objeto == TXT_codigoPostal) valida_codigoPostal(TXT_codigoPostal);
  }
  return QDialog::eventFilter(objeto, evento);
}
