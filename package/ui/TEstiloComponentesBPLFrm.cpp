#include "TEstiloComponentesBPLFrm.h"

TEstiloComponentesBPLFrm* EstiloComponentesBPLFrm = nullptr;

TEstiloComponentesBPLFrm& u_estiloComponentes() {
  if (!EstiloComponentesBPLFrm) EstiloComponentesBPLFrm = new TEstiloComponentesBPLFrm();
  return *EstiloComponentesBPLFrm;
}

TEstiloComponentesBPLFrm::TEstiloComponentesBPLFrm(QObject* parent)
    : QObject(parent), uColores(getColores()) {}

QString TEstiloComponentesBPLFrm::css(quint32 argb) {
  return QStringLiteral("#%1").arg(argb & 0xFFFFFF, 6, 16, QChar('0'));
}

QString TEstiloComponentesBPLFrm::estiloEncabezado() const {
  return QStringLiteral("background:%1;").arg(css(color(QStringLiteral("encabezadoModulo"))));
}

QString TEstiloComponentesBPLFrm::estiloTituloEncabezado() const {
  return QStringLiteral("color:%1;font-size:22px;font-weight:700;background:transparent;")
      .arg(css(color(QStringLiteral("encabezadoTexto"))));
}

QString TEstiloComponentesBPLFrm::estiloSubtituloEncabezado() const {
  return QStringLiteral("color:%1;font-size:14px;background:transparent;")
      .arg(css(color(QStringLiteral("encabezadoSubtexto"))));
}

QString TEstiloComponentesBPLFrm::estiloTituloDialogo() const {
  return QStringLiteral("color:%1;font-size:20px;font-weight:700;")
      .arg(css(color(QStringLiteral("tituloFormulario2"))));
}

QString TEstiloComponentesBPLFrm::estiloPantallaTeclado() const {
  return QStringLiteral(
             "QLineEdit{background:#FFFFFF;color:%1;border:2px solid %2;border-radius:8px;"
             "font-size:30px;font-weight:600;padding:4px 12px;}")
      .arg(css(color(QStringLiteral("textoCuerpo"))), css(color(QStringLiteral("menuSeparador"))));
}

QString TEstiloComponentesBPLFrm::estiloTecla(int tipo) const {
  QString fondo = QStringLiteral("#FFFFFF"), texto = css(color(QStringLiteral("textoCuerpo")));
  QString presionado = QStringLiteral("#DCE3EA"),
          borde = css(color(QStringLiteral("menuSeparador")));
  if (tipo == 1 || tipo == 4) {
    fondo = QStringLiteral("#E4E9EE");
  } else if (tipo == 2) {
    fondo = css(color(QStringLiteral("botonFondo")));
    texto = css(color(QStringLiteral("botonTexto")));
    presionado = css(color(QStringLiteral("botonFondoPresionado")));
    borde = fondo;
  } else if (tipo == 3) {
    fondo = QStringLiteral("#FFFFFF");
    texto = QStringLiteral("#B33A3A");
    borde = QStringLiteral("#E2B4B4");
  }
  return QStringLiteral(
             "QPushButton{background:%1;color:%2;border:1px solid %3;border-radius:8px;"
             "font-size:%4px;font-weight:600;}"
             "QPushButton:pressed{background:%5;}")
      .arg(fondo, texto, borde)
      .arg(tipo <= 1 ? 26 : 17)
      .arg(presionado);
}

QString TEstiloComponentesBPLFrm::estiloFondoDialogo() const {
  return QStringLiteral("background:%1;").arg(css(color(QStringLiteral("fondoSolido"))));
}

QFont TEstiloComponentesBPLFrm::fuenteBase() const {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPointSize(11);
  return f;
}
