#pragma once
// The checkout's MercadoPago lookups as pos-script runs them inside a "cobrar" step.

#include <QJsonObject>

class ConductorCaja;
class QWidget;
class QString;
class TFRM_cerrarPuntoVenta;

// Row n's lookup (1..6) as {"busqueda": "automatica" | "manual", "fila": k, "rango": "1 Día",
// "monto": "..."}: the "Mercado Pago" button or the row's detail icon. On the lookup screen
// (manual, or automatic with several matches) "rango" and "monto" are set and "Buscar" pressed
// (manual only), then result row k is chosen and accepted; without "fila" the screen is
// cancelled; "captura" saves a picture of the screen before that. Answers what it saw: "resultados"
// (the offered payment ids), "pantalla" (the screen showed), "configuracionIncompleta" (the
// credentials screen opened instead).
QJsonObject u_buscaPagoMercadoPago(ConductorCaja& conductor, TFRM_cerrarPuntoVenta& cobro, int fila,
                                   const QJsonObject& instruccion);

// Saves a picture of a screen (shown or not) at its current size; `archivo` empty: nothing.
void u_capturaPantalla(QWidget* pantalla, const QString& archivo);

// Row n as the report gives it: referencia, monto, externo, metodo; "detalle" (the detail
// label) is filled by the row's lookup.
QJsonObject u_reporteFilaPago(const TFRM_cerrarPuntoVenta& cobro, int fila);
