#pragma once
// Reads a received message (RFC 5322 with MIME) far enough for a test to check it: the
// decoded From, To, Cc, Subject, Date and Message-ID, the first plain-text part, and every
// attachment with its name, type and decoded content. Encoded words (RFC 2047), parameter
// continuations and charsets (RFC 2231), Base64 and quoted-printable are undone.

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QString>

struct AdjuntoMime {
  QString nombre;
  QString tipo;  // media type in lower case, "application/octet-stream" when not given
  QByteArray contenido;
};

struct MensajeMime {
  QString de, para, cc, asunto, fecha, idMensaje;
  QString texto;
  QList<AdjuntoMime> adjuntos;
};

MensajeMime leeMensajeMime(const QByteArray& crudo);

// The header fields and attachments of a message as the control API lists them.
QJsonObject resumenMime(const MensajeMime& m);
