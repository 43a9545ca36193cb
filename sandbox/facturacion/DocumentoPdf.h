#pragma once
// A plain PDF 1.4 written by hand, enough for a printed invoice: pages of text in the standard
// Helvetica fonts and ruled lines. No fonts are embedded and streams are not compressed, so it
// needs nothing beyond Qt Core. Texts go out in WinAnsiEncoding, which covers Spanish.

#include <QByteArray>
#include <QList>
#include <QString>

class DocumentoPdf {
 public:
  enum class Fuente { Normal, Negrita };
  // US Letter, in points.
  static constexpr double ANCHO = 612;
  static constexpr double ALTO = 792;

  explicit DocumentoPdf(const QString& titulo) : uTitulo(titulo) {}

  // Starts a page; drawing before the first call starts one too.
  void nuevaPagina();
  int paginas() const { return static_cast<int>(uPaginas.size()); }

  // Text with its baseline starting at (x, y), from the page's lower left corner.
  void texto(double x, double y, const QString& t, Fuente fuente = Fuente::Normal,
             double tamano = 10);
  // Text ending at `xDerecha`; meant for amounts, whose characters have known widths.
  void textoDerecha(double xDerecha, double y, const QString& t, Fuente fuente = Fuente::Normal,
                    double tamano = 10);
  void linea(double x1, double y1, double x2, double y2, double grosor = 0.5);

  // The whole file: header, objects, cross-reference table with their offsets, trailer.
  QByteArray genera() const;

  // A PDF string literal: WinAnsi bytes, with ( ) and \ escaped and bytes past ASCII as octal
  // escapes. Characters the encoding lacks come out as '?'.
  static QByteArray cadena(const QString& t);
  // Width of a text in points, by Helvetica's metrics for digits and punctuation; other
  // characters count as an average letter.
  static double ancho(const QString& t, Fuente fuente, double tamano);

 private:
  QByteArray& actual();

  QString uTitulo;
  QList<QByteArray> uPaginas;  // content streams
};
