#pragma once
// Modal wait screen: shown while background work runs, it watches one or several boolean
// flags and returns once every one of them is false (u_esperaBanderas: the calling thread keeps
// running its event queue, so end handlers queued to it run, and the wait ends as soon as the
// last flag clears).
// It ends by itself and is therefore never run through u_ejecutaModal.
// A wait shorter than the screen's delay shows nothing: a window flashed for a few milliseconds
// is flicker, and drawing it would lengthen the wait. Input is ignored from the start all the
// same, as the modal screen ignores it.

#include <QDialog>
#include <QVector>
#include <atomic>

class QLabel;
class QTimer;
class TIndicadorOcupado;

class TFRM_espere : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kRetrasoMs = 250;

  explicit TFRM_espere(QWidget* parent = nullptr);

  // How long a wait runs before the screen appears (0: at once).
  void setRetraso(int milisegundos) { uRetrasoMs = milisegundos; }

  // Waits until *flag is false (a null flag counts as false).
  void inicia(std::atomic<bool>* flag);
  // Waits until every flag is false.
  void iniciaArray(const QVector<std::atomic<bool>*>& flags);

  // True while a wait is running (tests look at the screen meanwhile).
  bool esperando() const { return uProfundidad > 0; }
  QString texto() const;

 public slots:
  // The wait ends only when the work does: Escape and the window's close do nothing.
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void centra();
  void muestra();

  QLabel* LBL_mensaje = nullptr;
  TIndicadorOcupado* uIndicador = nullptr;
  QTimer* uMostrar = nullptr;
  int uRetrasoMs = kRetrasoMs;
  int uProfundidad = 0;
};

// The wait screen's single instance: created when first needed, released after the wait.
extern TFRM_espere* FRM_espere;
