#pragma once
// A throw-away certificate authority and a server certificate for 127.0.0.1 and localhost,
// made at every start with the openssl command. The CA's certificate (PEM) is written where
// the station configuration points, so the product can trust it without ever switching
// certificate checks off; the CA's key lives only in a temporary folder and is gone when the
// program ends.

#include <QSslConfiguration>
#include <QString>

// Creates the certificates, writes the CA to `salidaCa` and answers the server's TLS
// configuration. False with `error` when openssl is missing or fails.
bool preparaTls(const QString& salidaCa, QSslConfiguration* configuracion, QString* error);
