#include "ui/TGridVista.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

TGridVista::TGridVista(TGridControl* control, QTableView* vista, QObject* parent)
    : QObject(parent), uControl(control), uVista(vista) {
  if (!uVista || !uControl) return;
  uVista->setModel(uControl->modelo());
  uVista->viewport()->installEventFilter(this);
}

TGridVista::~TGridVista() {
  if (uVista) uVista->viewport()->removeEventFilter(this);
}

void TGridVista::renuevaColumnas() {
  if (!uControl) return;
  uControl->reiniciaModelo();
  if (!uVista) return;
  uVista->verticalHeader()->hide();
  // The setting is in the suite's row units; a touch grid needs at least 28 px.
  uVista->verticalHeader()->setDefaultSectionSize(std::max(28, uControl->alturaFila() * 4));
  for (int c = 0; c < uControl->getColumnCount(); ++c) {
    uVista->setColumnHidden(c, !uControl->columna(c).visible);
    uVista->setColumnWidth(c, uControl->columna(c).ancho);
  }
}

void TGridVista::ajustaColumna(const QString& nombre) {
  uColumnaAjuste = nombre;
  aplicaAjuste();
}

void TGridVista::aplicaAjuste() {
  if (!uVista || !uControl || uColumnaAjuste.isEmpty()) return;
  const int objetivo = uControl->indiceColumna(uColumnaAjuste);
  if (objetivo < 0) return;
  int ocupado = 0;
  for (int c = 0; c < uControl->getColumnCount(); ++c)
    if (c != objetivo && !uVista->isColumnHidden(c)) ocupado += uVista->columnWidth(c);
  const int libre = uVista->viewport()->width() - ocupado;
  // The stretch column also gives way on a narrow screen, down to a readable width, so the
  // columns after it stay in sight without a horizontal scroll bar.
  const int minimo = std::min(uControl->columna(objetivo).ancho, kAnchoMinimoAjuste);
  uVista->setColumnWidth(objetivo, std::max(minimo, libre));
}

bool TGridVista::eventFilter(QObject* obj, QEvent* ev) {
  if (uVista && obj == uVista->viewport() && ev->type() == QEvent::Resize) aplicaAjuste();
  return QObject::eventFilter(obj, ev);
}
