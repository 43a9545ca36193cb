#include "dialogoArchivo.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "ui/mensajes.h"

namespace {

QString carpetaInicial() {
  const QString documentos = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return documentos.isEmpty() ? QDir::homePath() : documentos;
}

QString ejecuta(QFileDialog& d) {
  d.setOption(QFileDialog::DontUseNativeDialog, true);
  // Larger rows and buttons: the dialog is used on the touch station.
  d.setStyleSheet(
      QStringLiteral("QWidget{font-size:15px;} QPushButton{min-height:40px;min-width:110px;}"
                     "QListView::item,QTreeView::item{min-height:30px;}"));
  d.resize(900, 600);
  if (u_ejecutaModal(&d) != QDialog::Accepted) return QString();
  const QStringList elegidos = d.selectedFiles();
  return elegidos.isEmpty() ? QString() : elegidos.first();
}

}  // namespace

QString u_dialogoGuardarArchivo(const QString& titulo, const QString& nombreSugerido,
                                const QString& filtro) {
  QFileDialog d(QApplication::activeWindow(), titulo);
  d.setAcceptMode(QFileDialog::AcceptSave);
  d.setFileMode(QFileDialog::AnyFile);
  d.setNameFilter(filtro);
  const QFileInfo sugerido(nombreSugerido);
  d.setDirectory(sugerido.isAbsolute() ? sugerido.absolutePath() : carpetaInicial());
  d.selectFile(sugerido.fileName());
  return ejecuta(d);
}

QString u_dialogoAbrirArchivo(const QString& titulo, const QString& filtro) {
  QFileDialog d(QApplication::activeWindow(), titulo);
  d.setAcceptMode(QFileDialog::AcceptOpen);
  d.setFileMode(QFileDialog::ExistingFile);
  d.setNameFilter(filtro);
  d.setDirectory(carpetaInicial());
  return ejecuta(d);
}

QString u_conExtension(const QString& archivo, const QString& extension) {
  if (archivo.isEmpty() || archivo.endsWith(extension, Qt::CaseSensitive)) return archivo;
  return archivo + extension;
}
