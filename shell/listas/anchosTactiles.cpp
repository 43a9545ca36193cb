#include "shell/listas/anchosTactiles.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <algorithm>

#include "grid/TGridControl.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/listas/lineasCelda.h"
#include "shell/listas/repartoColumnas.h"

namespace {

const int kAnchoImagen = 52;
const int kAnchoImagenMinimo = 40;
// A cell's text leaves this much room around it.
const int kRelleno = 2 * TDelegadoLista::kMargen + 2;
// The most a name column asks for before it is cut on its second line; the least of any
// column.
const int kAnchoTextoLegible = 200;
const int kAnchoMinimo = 40;
const int kAnchoAngostoMaximo = 160;  // a centred or one-word column wider than this is a text

}  // namespace

int u_anchoTitulo(QHeaderView* encabezado, int columna, const QString& titulo) {
  if (titulo.trimmed().isEmpty()) return 0;
  QStyleOptionHeader o;
  o.initFrom(encabezado);
  o.section = columna;
  o.text = titulo;
  o.orientation = Qt::Horizontal;
  return encabezado->style()
      ->sizeFromContents(QStyle::CT_HeaderSection, &o, QSize(), encabezado)
      .width();
}

void u_ajustaAnchosTactiles(QTableView* vista, const TGridControl& g,
                            const TDelegadoLista& delegado, const QString& ajusteTitulo) {
  const int disponible = vista->viewport()->width();
  if (disponible <= 0) return;
  const QFontMetrics texto(vista->font());
  const int filas = std::min(g.getRowCount(), 200);
  const int ajuste = ajusteTitulo.isEmpty() ? -1 : g.indiceColumna(ajusteTitulo);
  QVector<int> visibles;
  QVector<TColumnaReparto> reparto;
  for (int c = 0; c < g.getColumnCount(); ++c) {
    if (vista->isColumnHidden(c)) continue;
    const TGridControl::Columna& col = g.columna(c);
    const int tituloAncho = u_anchoTitulo(vista->horizontalHeader(), c, col.nombre);
    TColumnaReparto r;
    if (col.tipo == TGridControl::Imagen) {
      r.clase = TColumnaReparto::Angosta;
      r.completo = std::max({col.ancho, kAnchoImagen, tituloAncho});
      r.legible = std::max(kAnchoImagen, tituloAncho);
      r.minimo = kAnchoImagenMinimo;
    } else {
      const TPintura pintura = delegado.pintura(c);
      // Widths of the texts on one line and on two (money is never broken).
      int completo = 0, dosLineas = 0;
      bool unaPalabra = true;
      for (int f = 0; f < filas; ++f) {
        const QString celda = delegado.textoCelda(c, f);
        completo = std::max(completo, texto.horizontalAdvance(celda) + kRelleno);
        // A date too wide for two lines shows its short form.
        if (pintura != TPintura::Moneda)
          dosLineas = std::max(dosLineas, u_anchoDosLineas(texto, pintura == TPintura::Fecha
                                                                      ? delegado.textoCorto(c, f)
                                                                      : celda) +
                                              kRelleno);
        unaPalabra = unaPalabra && !celda.trimmed().contains(QLatin1Char(' '));
      }
      if (pintura == TPintura::Moneda) dosLineas = completo;
      r.completo = std::max(completo, tituloAncho);
      // A centred code as long as a name (a UUID) is cut like a name; a short left-aligned
      // text of one word (a key, an RFC) is read whole like a number.
      const bool corta = completo <= kAnchoAngostoMaximo;
      const bool angosta = (pintura == TPintura::Izquierda && unaPalabra && filas > 0 && corta) ||
                           (pintura != TPintura::Izquierda && pintura != TPintura::Enlace &&
                            (pintura != TPintura::Centro || corta));
      // Names read well on two lines (a very long one cut on the second).
      const int nombre = std::min(dosLineas, kAnchoTextoLegible);
      if (c == ajuste) {
        r.clase = TColumnaReparto::Ajuste;
        r.legible = std::max(nombre, tituloAncho);
      } else if (angosta) {
        // Numbers, money, dates and keys are read whole (a date on two lines), and so are
        // their titles.
        r.clase = TColumnaReparto::Angosta;
        r.legible = std::max({dosLineas, tituloAncho, kAnchoMinimo});
      } else {
        r.clase = TColumnaReparto::Texto;
        r.legible = std::max(nombre, tituloAncho);
      }
      r.minimo = kAnchoMinimo;
    }
    // The header keeps every section at least this wide, empty ones too.
    r.completo = std::max(r.completo, vista->horizontalHeader()->minimumSectionSize());
    visibles << c;
    reparto << r;
  }
  const QVector<int> anchos = repartoColumnas(reparto, disponible);
  for (int i = 0; i < visibles.size(); ++i) vista->setColumnWidth(visibles[i], anchos[i]);
}
