#include "DocumentoPdf.h"

#include <QHash>

namespace {

QByteArray numero(double v) {
  QByteArray n = QByteArray::number(v, 'f', 2);
  while (n.endsWith('0')) n.chop(1);
  if (n.endsWith('.')) n.chop(1);
  return n;
}

// WinAnsiEncoding matches Latin-1 from 0xA0 on; below that it places a few typographic
// characters of its own.
int byteWinAnsi(char32_t c) {
  if (c >= 0x20 && c < 0x7F) return static_cast<int>(c);
  if (c >= 0xA0 && c <= 0xFF) return static_cast<int>(c);
  if (c == U'\t' || c == U'\n' || c == U'\r') return ' ';
  static const QHash<char32_t, int> extra = {{U'€', 0x80}, {U'‚', 0x82}, {U'„', 0x84}, {U'…', 0x85},
                                             {U'•', 0x95}, {U'‘', 0x91}, {U'’', 0x92}, {U'“', 0x93},
                                             {U'”', 0x94}, {U'–', 0x96}, {U'—', 0x97}, {U'™', 0x99},
                                             {U'Š', 0x8A}, {U'š', 0x9A}, {U'Œ', 0x8C}, {U'œ', 0x9C},
                                             {U'Ž', 0x8E}, {U'ž', 0x9E}, {U'Ÿ', 0x9F}};
  return extra.value(c, '?');
}

}  // namespace

QByteArray DocumentoPdf::cadena(const QString& t) {
  QByteArray r("(");
  // Composed form, so an accent typed as a combining mark still finds its Latin-1 letter.
  for (const char32_t c : t.normalized(QString::NormalizationForm_C).toUcs4()) {
    const int b = byteWinAnsi(c);
    if (b == '(' || b == ')' || b == '\\') {
      r += '\\';
      r += static_cast<char>(b);
    } else if (b >= 0x80) {
      r += '\\';
      r += QByteArray::number(b, 8);
    } else {
      r += static_cast<char>(b);
    }
  }
  r += ')';
  return r;
}

double DocumentoPdf::ancho(const QString& t, Fuente fuente, double tamano) {
  double milesimas = 0;
  for (const QChar c : t) {
    if (c.isDigit() || c == QLatin1Char('$'))
      milesimas += 556;
    else if (c == QLatin1Char('.') || c == QLatin1Char(',') || c == QLatin1Char(' '))
      milesimas += 278;
    else if (c == QLatin1Char('-'))
      milesimas += 333;
    else
      milesimas += fuente == Fuente::Negrita ? 611 : 556;
  }
  return milesimas * tamano / 1000;
}

void DocumentoPdf::nuevaPagina() { uPaginas.append(QByteArray()); }

QByteArray& DocumentoPdf::actual() {
  if (uPaginas.isEmpty()) nuevaPagina();
  return uPaginas.last();
}

void DocumentoPdf::texto(double x, double y, const QString& t, Fuente fuente, double tamano) {
  actual() += "BT /" + QByteArray(fuente == Fuente::Negrita ? "F2 " : "F1 ") + numero(tamano) +
              " Tf " + numero(x) + ' ' + numero(y) + " Td " + cadena(t) + " Tj ET\n";
}

void DocumentoPdf::textoDerecha(double xDerecha, double y, const QString& t, Fuente fuente,
                                double tamano) {
  texto(xDerecha - ancho(t, fuente, tamano), y, t, fuente, tamano);
}

void DocumentoPdf::linea(double x1, double y1, double x2, double y2, double grosor) {
  actual() += numero(grosor) + " w " + numero(x1) + ' ' + numero(y1) + " m " + numero(x2) + ' ' +
              numero(y2) + " l S\n";
}

QByteArray DocumentoPdf::genera() const {
  const QList<QByteArray> paginas = uPaginas.isEmpty() ? QList<QByteArray>{{}} : uPaginas;
  // Objects: 1 catalog, 2 page tree, 3 and 4 the fonts, 5 document info, then a page and its
  // contents for each page.
  QList<QByteArray> objetos;
  QByteArray hijos;
  for (qsizetype i = 0; i < paginas.size(); ++i)
    hijos += (hijos.isEmpty() ? "" : " ") + QByteArray::number(6 + 2 * i) + " 0 R";
  objetos << "<< /Type /Catalog /Pages 2 0 R >>"
          << "<< /Type /Pages /Kids [" + hijos + "] /Count " + QByteArray::number(paginas.size()) +
                 " >>"
          << "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>"
          << "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold "
             "/Encoding /WinAnsiEncoding >>"
          << "<< /Title " + cadena(uTitulo) + " /Producer (pos-sandbox-facturacion) >>";
  for (qsizetype i = 0; i < paginas.size(); ++i) {
    objetos << "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + numero(ANCHO) + ' ' + numero(ALTO) +
                   "] /Resources << /Font << /F1 3 0 R /F2 4 0 R >> >> /Contents " +
                   QByteArray::number(7 + 2 * i) + " 0 R >>"
            << "<< /Length " + QByteArray::number(paginas.at(i).size()) + " >>\nstream\n" +
                   paginas.at(i) + "\nendstream";
  }

  // The binary comment line tells transfer programs the file is not plain text.
  QByteArray pdf("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
  QList<qsizetype> posiciones;
  for (qsizetype i = 0; i < objetos.size(); ++i) {
    posiciones << pdf.size();
    pdf += QByteArray::number(i + 1) + " 0 obj\n" + objetos.at(i) + "\nendobj\n";
  }
  const qsizetype xref = pdf.size();
  pdf += "xref\n0 " + QByteArray::number(objetos.size() + 1) + "\n0000000000 65535 f \n";
  // Every entry is exactly 20 bytes, as readers seek into the table by position.
  for (const qsizetype p : posiciones)
    pdf += QByteArray::number(p).rightJustified(10, '0') + " 00000 n \n";
  pdf += "trailer\n<< /Size " + QByteArray::number(objetos.size() + 1) +
         " /Root 1 0 R /Info 5 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
  return pdf;
}
