#pragma once
// "Cajero Captura": creates or edits a cashier (person, contact, address, photo, key, state
// and note) on three tabs. Answers whether the cashier was stored.

#include <QDialog>
#include <QImage>
#include <QVector>

#include "context/TsistemaDatos.h"
#include "operaciones/cajeros.h"
#include "ui/pantallaNombrada.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TTecladoCampos;

//
// Named for tests (TPantallaNombrada) by their captions: "Título", "Pestañas", "Clave",
// "Estado", "Nombre", "A. Paterno", "A. Materno", "Masculino", "Femenino", "Fecha Nac.", "Mail",
// "Teléfono", "Cell", "Foto", "Seleccionar"; on the address tab "Calle", "No. Exterior",
// "Int.", "Colonia", "Localidad", "Referencia", "Municipio", "Estado de la dirección", "País",
// "Código Postal"; "Nota", "Aceptar", "Cancelar" and the keyboard "Teclado".
class TFRM_cajerosCaptura : public QDialog, public TPantallaNombrada {
  Q_OBJECT
 public:
  explicit TFRM_cajerosCaptura(QWidget* parent = nullptr);

  bool initNuevo(const TsistemaDatos& sistema);
  bool initEditar(int cajeroId, const TsistemaDatos& sistema);

  void BTN_aceptarClick();
  void BTN_cancelarClick() { reject(); }
  // "Seleccionar": asks for an image file and takes it when it passes the photo rules.
  void imagenBuscar();
  // The photo rules applied to one file (what imagenBuscar does after the question).
  void cargaFotoArchivo(const QString& archivo);
  bool valida();
  UREC_cajero reuneDatosCajero() const;

  static constexpr int kLadoMaximoFoto = 1000;
  static constexpr int kBytesMaximoFoto = 65000;

  // Screen state.
  bool uRegistroNuevo = true;
  int uCajeroID = 0;
  int uPersonaID = 0;
  int uUbicacionID = 0;
  QString uClaveActual;
  bool uImagenCargada = false;
  QVector<int> uValueMember_CMB_cajeroEstado;
  TsistemaDatos uSistema;
  bool uAceptar = false;
  QImage uImagen;  // the shown photo at its own size

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void construye();
  QWidget* construyePestanaCajero();
  QWidget* construyePestanaDireccion();
  QWidget* construyePestanaNota();
  QLineEdit* nuevoCampo(int longitud, bool soloDigitos = false);
  void preparaApertura(const TsistemaDatos& sistema);
  void cargaComboCajeroEstado();
  void cargaDatosCajero();
  void muestraFoto(const QImage& imagen);
  void muestraSinImagen();
  void rechazaFoto(const QString& mensaje);

  QLabel* LBL_titulo = nullptr;
  QTabWidget* PGC_cajero = nullptr;
  QLineEdit* TXT_clave = nullptr;
  QLineEdit* TXT_nombre = nullptr;
  QLineEdit* TXT_apellidoPaterno = nullptr;
  QLineEdit* TXT_apellidoMaterno = nullptr;
  QComboBox* CMB_vendedorEstado = nullptr;
  QRadioButton* RAD_masculino = nullptr;
  QRadioButton* RAD_femenino = nullptr;
  QDateEdit* DTP_fechaNacimiento = nullptr;
  QLineEdit* TXT_mail = nullptr;
  QLineEdit* TXT_telefono = nullptr;
  QLineEdit* TXT_cell = nullptr;
  QLineEdit* TXT_calle = nullptr;
  QLineEdit* TXT_noExterior = nullptr;
  QLineEdit* TXT_noInterior = nullptr;
  QLineEdit* TXT_colonia = nullptr;
  QLineEdit* TXT_localidad = nullptr;
  QLineEdit* TXT_referencia = nullptr;
  QLineEdit* TXT_municipio = nullptr;
  QLineEdit* TXT_estado = nullptr;
  QLineEdit* TXT_pais = nullptr;
  QLineEdit* TXT_codigoPostal = nullptr;
  QPlainTextEdit* TXT_nota = nullptr;
  QLabel* IMG_vendedor = nullptr;
  QPushButton* BTN_seleccionarImagen = nullptr;
  QPushButton* BTN_aceptar = nullptr;
  QPushButton* BTN_cancelar = nullptr;
  TTecladoCampos* uTeclado = nullptr;
};
