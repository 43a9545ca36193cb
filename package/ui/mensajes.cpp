#include "mensajes.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {
TRespondedorModal* gRespondedor = nullptr;

QString tituloSuite() { return QStringLiteral("Punto de Venta"); }
}  // namespace

void u_instalaRespondedor(TRespondedorModal* respondedor) { gRespondedor = respondedor; }
TRespondedorModal* u_respondedor() { return gRespondedor; }

bool u_confirma(const QString& texto) {
  if (gRespondedor) return gRespondedor->confirmacion(texto);
  QMessageBox caja(QMessageBox::Question, tituloSuite(), texto,
                   QMessageBox::Ok | QMessageBox::Cancel, QApplication::activeWindow());
  caja.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
  caja.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancelar"));
  caja.setStyleSheet(QStringLiteral("QLabel{font-size:16px;} QPushButton{min-width:120px;min-height:44px;font-size:15px;}"));
  return caja.exec() == QMessageBox::Ok;
}

bool u_mensaje(const QString& texto, int tipo) {
  if (tipo == mtConfirmacion) return u_confirma(texto);
  if (gRespondedor) {
    gRespondedor->mensaje(texto, tipo);
    return true;
  }
  QMessageBox::Icon icono = QMessageBox::Information;
  if (tipo == mtAdvertencia) icono = QMessageBox::Warning;
  if (tipo == mtError) icono = QMessageBox::Critical;
  QMessageBox caja(icono, tituloSuite(), texto, QMessageBox::Ok, QApplication::activeWindow());
  caja.button(QMessageBox::Ok)->setText(QStringLiteral("Aceptar"));
  caja.setStyleSheet(QStringLiteral("QLabel{font-size:16px;} QPushButton{min-width:120px;min-height:44px;font-size:15px;}"));
  caja.exec();
  return true;
}

void u_muestra(const TResultado& resultado) {
  if (!resultado.ok && !resultado.mensaje.isEmpty()) u_mensaje(resultado.mensaje, resultado.tipo);
}

int u_ejecutaModal(QDialog* dialogo) {
  if (!dialogo) return QDialog::Rejected;
  if (gRespondedor) return gRespondedor->dialogo(dialogo);
  return dialogo->exec();
}
