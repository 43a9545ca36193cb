#pragma once
// Streaming reader of a JSON document. It reads the document in blocks, from a file or from
// bytes already in memory, and hands out one value at a time, so a catalog of a million
// products never sits in memory whole (a QJsonDocument of it takes about 3 KB per product).
//
// It is stricter than QJsonDocument where that one silently guesses: a key repeated in one
// object is refused (QJsonDocument keeps the last one, so `"productos":[…], "productos":[]`
// imported nothing), and so are a NUL character inside a text, numbers a double cannot hold
// and text that is not UTF-8. Every refusal names the byte position, line and column.

#include <QByteArray>
#include <QJsonValue>
#include <QSet>
#include <QString>
#include <QVector>

class QIODevice;

class TFlujoJson {
 public:
  // `origen` must be open for reading and seekable (a file); it is not owned.
  explicit TFlujoJson(QIODevice* origen);
  explicit TFlujoJson(const QByteArray& datos);

  enum class Tipo { Objeto, Lista, Texto, Numero, Booleano, Nulo };

  // The kind of the next value, skipping blanks; nothing is consumed.
  Tipo siguienteTipo();

  // Members of an object, one at a time: abreObjeto consumes "{"; siguienteMiembro gives the
  // next key (its value is read next) or answers false once "}" is consumed. A repeated key is
  // refused here.
  void abreObjeto();
  bool siguienteMiembro(QString* clave);
  // Elements of a list: abreLista consumes "["; siguienteElemento answers false once "]" is
  // consumed, true when an element follows.
  void abreLista();
  bool siguienteElemento();

  // The whole next value, built in memory (for one record at a time).
  QJsonValue leeValor();
  // Checks the next value as leeValor would, without building it.
  void saltaValor();
  // The next value when it is a number (false, and nothing consumed, otherwise).
  bool leeNumeroSiHay(double* valor);
  // Only blanks may be left.
  void terminaDocumento();

  // Byte offset of the next unread byte (after blanks skipped so far).
  qint64 posicion() const { return uBase + uIndice; }
  // Resumes reading at a byte offset, as found by posicion() before a value.
  void irA(qint64 posicion);

  // Ends the reading with "JSON mal formado en la posición P (línea L, columna C): razon".
  [[noreturn]] void falla(const QString& razon, qint64 posicion = -1);

 private:
  bool rellena();  // false at the end of the data
  int mira();      // next byte (0..255), -1 at the end of the data
  int toma();
  void saltaBlancos();
  void espera(int c, const char* que);
  void literal(const char* texto);
  QString leeTexto();
  void saltaTexto();
  void leeCrudoTexto(QByteArray* destino);
  double leeNumero();
  QJsonValue leeValorEn(int profundidad);
  void saltaValorEn(int profundidad);
  void lineaColumna(qint64 posicion, qint64* linea, qint64* columna);

  QIODevice* uOrigen = nullptr;
  QByteArray uBuffer;
  qint64 uBase = 0;       // offset of uBuffer[0] in the document
  qsizetype uIndice = 0;  // next byte in uBuffer
  bool uFin = false;      // the source has nothing more to give
  // Objects and lists opened with abreObjeto / abreLista and not yet closed.
  struct TNivel {
    bool primero = true;
    QSet<QString> claves;  // of an object
  };
  QVector<TNivel> uNiveles;
};
