#pragma once
// Answers of the nested dialogs of the register screens: the numeric entry and the cashier
// selection, queued on the test's responder.

#include <gtest/gtest.h>

#include <QTableView>
#include <QTest>

#include "admin/TFRM_seleccionarCajero.h"
#include "grid/TGridControl.h"
#include "support/RespondedorPrueba.h"
#include "ui/TFRM_editar.h"

// Types `texto` on the keypad and accepts; records the title and the starting text.
inline std::function<int(QDialog*)> teclea(const QString& texto, QString* titulo = nullptr,
                                           QString* inicial = nullptr) {
  return [=](QDialog* d) {
    auto* e = qobject_cast<TFRM_editar*>(d);
    EXPECT_TRUE(e) << "se esperaba el teclado numérico";
    if (!e) return int(QDialog::Rejected);
    if (titulo) *titulo = e->titulo();
    if (inicial) *inicial = e->texto();
    e->setTexto(texto);
    e->acepta();
    return d->result();
  };
}

inline std::function<int(QDialog*)> cancelaTeclado(QString* titulo = nullptr) {
  return [=](QDialog* d) {
    if (titulo) *titulo = qobject_cast<TFRM_editar*>(d)->titulo();
    return int(QDialog::Rejected);
  };
}

// Picks the cashier with that key in the selection (or cancels when the key is empty).
inline std::function<int(QDialog*)> eligeCajero(const QString& clave) {
  return [=](QDialog* d) {
    auto* s = qobject_cast<TFRM_seleccionarCajero*>(d);
    EXPECT_TRUE(s) << "se esperaba la selección de cajero";
    if (!s) return int(QDialog::Rejected);
    if (clave.isEmpty()) {
      s->reject();
      return d->result();
    }
    for (int f = 0; f < s->grid().getRowCount(); ++f)
      if (s->grid().getCelda("Clave", f) == clave) s->seleccionaFila(f);
    s->BTN_aceptarClick();
    return d->result();
  };
}
