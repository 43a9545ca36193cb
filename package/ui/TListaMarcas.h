#pragma once
// A touch list of items to tick (serial numbers to return or to assign): one large check box
// per item in a scrolling column.

#include <QScrollArea>
#include <QStringList>
#include <QVector>

class QCheckBox;
class QVBoxLayout;

class TListaMarcas : public QScrollArea {
  Q_OBJECT
 public:
  explicit TListaMarcas(QWidget* parent = nullptr);

  void limpia();
  void agrega(const QString& texto, bool marcado = false);
  int cuenta() const { return static_cast<int>(uMarcas.size()); }
  QStringList textos() const;
  bool marcado(int indice) const;
  // Ticks or unticks the item with that text; false when there is none.
  bool marca(const QString& texto, bool marcado);

 private:
  QWidget* uContenido = nullptr;
  QVBoxLayout* uColumna = nullptr;
  QVector<QCheckBox*> uMarcas;
};
