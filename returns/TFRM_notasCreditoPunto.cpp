#include "returns/TFRM_notasCreditoPunto.h"

#include <QDateEdit>
#include <QLineEdit>

#include "context/TsistemaDatos.h"
#include "grid/TGridControl.h"
#include "operaciones/devoluciones.h"
#include "shell/listas/TDelegadoLista.h"
#include "shell/programaPredeterminado.h"
#include "shell/registroPantallas.h"
#include "ui/descargaPDFFactura.h"

REGISTRA_PANTALLA(TFRM_notasCreditoPunto);

namespace {
TListaPantalla::Opciones opciones() {
  TListaPantalla::Opciones o;
  o.busquedaUnaVez = true;
  o.limpiarBusca = true;
  return o;
}
}  // namespace

TFRM_notasCreditoPunto::TFRM_notasCreditoPunto(QWidget* parent)
    : TListaPantalla(QStringLiteral("Notas de Crédito"), opciones(), parent) {
  DTP_fechaInicial =
      agregaFiltroFecha(QStringLiteral("Fecha Inicial"), QStringLiteral("DTP_fechaInicial"));
  DTP_fechaFinal =
      agregaFiltroFecha(QStringLiteral("Fecha Final"), QStringLiteral("DTP_fechaFinal"));
  TXT_uuidVenta =
      agregaCampoBusqueda(QStringLiteral("UUID venta"), QStringLiteral("TXT_uuidVenta"), 36, 240);
  delegado()->setPintura(QStringLiteral("Fecha"), TPintura::Fecha);
  delegado()->setPintura(QStringLiteral("Comprobante"), TPintura::Enlace);
  delegado()->setPintura(QStringLiteral("Nota de Crédito"), TPintura::Enlace);
  preparaGrid();
}

void TFRM_notasCreditoPunto::declaraColumnas(TGridControl& g) {
  g.add(2, QStringLiteral("Opciones"), QString(), QStringLiteral("Engrane"), 60, false);
  g.add(0, QStringLiteral("Fecha"), QStringLiteral("Comprobante_fecha"), QString(), 150, true);
  g.add(0, QStringLiteral("RFC"), QStringLiteral("Receptor_rfc"), QString(), 100, true);
  g.add(0, QStringLiteral("Cliente"), QStringLiteral("Receptor_nombre"), QString(), 150, true);
  g.add(0, QStringLiteral("Comprobante"), QStringLiteral("puntoOperacionAdicional_uuid"), QString(),
        250, true);
  g.add(0, QStringLiteral("Nota de Crédito"), QStringLiteral("comprobante_uuid"), QString(), 250,
        true);
}

CmidTierResponse TFRM_notasCreditoPunto::consulta() {
  const QString uuid = TXT_uuidVenta->text().trimmed();
  return consultaNotasCreditoPuntoVenta(inicioDelDia(DTP_fechaInicial), finDelDia(DTP_fechaFinal),
                                        uuid.isEmpty() ? nuloTexto() : QVariant(uuid),
                                        localSYS.getIdNegocio(), localSYS.getConexion());
}

QVector<TColumnaPDF> TFRM_notasCreditoPunto::columnasPDF() const {
  return {{QStringLiteral("Fecha"), 100, 0, 1},
          {QStringLiteral("RFC"), 60, 0, 1},
          {QStringLiteral("Cliente"), 100, 0, 1},
          {QStringLiteral("Venta"), 150, 0, 1},
          {QStringLiteral("Nota de Crédito"), 150, 0, 1}};
}

void TFRM_notasCreditoPunto::escribeUuidVenta(const QString& texto) {
  TXT_uuidVenta->setText(texto);
}

void TFRM_notasCreditoPunto::fijaFechas(const QDate& desde, const QDate& hasta) {
  DTP_fechaInicial->setDate(desde);
  DTP_fechaFinal->setDate(hasta);
}

void TFRM_notasCreditoPunto::liberacionEnGrid(int fila, int columna, const QPoint& global) {
  Q_UNUSED(global);
  verPDF(fila, columna);
}

QString TFRM_notasCreditoPunto::verPDF(int fila, int columna) {
  const TGridControl& g = grid();
  if (fila < 0 || fila >= g.getRowCount()) return QString();
  const QString nombre = g.columna(columna).nombre;
  if (nombre != QStringLiteral("Comprobante") && nombre != QStringLiteral("Nota de Crédito"))
    return QString();
  const QString uuid = g.getCelda(columna, fila).trimmed();
  if (uuid.isEmpty()) return QString();
  // On disk, or fetched from the service once behind the wait screen; a failure was told.
  TcredencialesServicio credenciales;
  consultaCredencialesUsuario(localSYS.getIdNegocio(), localSYS.getConexion(), credenciales);
  const QString ruta = u_aseguraPDFFactura(uuid, credenciales, localSYS);
  if (!ruta.isEmpty()) abreConProgramaPredeterminado(ruta);
  return ruta;
}
