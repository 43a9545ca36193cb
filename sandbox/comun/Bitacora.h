#pragma once
// One line per event on stderr, for whoever runs a sandbox by hand; never a password, secret
// or token.

#include <QString>

void bitacora(const QString& linea);
