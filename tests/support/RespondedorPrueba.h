#pragma once
// Scriptable answers to every message, confirmation and modal dialog, installed for the
// lifetime of the object. Confirmations answer from a queue (OK when it is empty); dialogs
// are handed to queued handlers (rejected when none is queued).

#include <gtest/gtest.h>

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>

#include "ui/mensajes.h"

class RespondedorPrueba : public TRespondedorModal {
 public:
  struct Mensaje {
    QString texto;
    int tipo;
  };
  RespondedorPrueba() { u_instalaRespondedor(this); }
  ~RespondedorPrueba() override { u_instalaRespondedor(nullptr); }

  void mensaje(const QString& texto, int tipo) override { mensajes.push_back({texto, tipo}); }
  bool confirmacion(const QString& texto) override {
    preguntas << texto;
    if (respuestas.empty()) return true;
    const bool r = respuestas.front();
    respuestas.pop_front();
    return r;
  }
  int dialogo(QDialog* d) override {
    dialogos << d->windowTitle();
    if (manejadores.empty()) return QDialog::Rejected;
    auto h = manejadores.front();
    manejadores.pop_front();
    return h(d);
  }

  // The next dialog, when it is a D, runs `pasos` and answers its own result.
  template <class D>
  void enDialogo(std::function<void(D&)> pasos) {
    manejadores.push_back([pasos](QDialog* d) {
      auto* dialogo = qobject_cast<D*>(d);
      EXPECT_TRUE(dialogo) << d->windowTitle().toStdString();
      if (dialogo) pasos(*dialogo);
      return d->result();
    });
  }

  QStringList textos() const {
    QStringList t;
    for (const auto& m : mensajes) t << m.texto;
    return t;
  }

  std::vector<Mensaje> mensajes;
  QStringList preguntas;
  QStringList dialogos;
  std::deque<bool> respuestas;
  std::deque<std::function<int(QDialog*)>> manejadores;
};
