#pragma once
// Signing library: secrets (payment-service credentials, invoicing passwords) are kept
// encrypted with a key that belongs to this installation.

#include <QString>

// Folder of the installation key file; empty is the application's folder. The key (32 random
// bytes, owner-only file) is made the first time something is encrypted and reused from then
// on; decrypting never makes one (a missing file is reported, see signingUltimoError).
void signingConfigura(const QString& carpeta);
// Path of the key file for the configured folder.
QString signingArchivoClave();

// Base64 of a fresh random nonce followed by the XSalsa20-Poly1305 box of the UTF-8 text, so
// the same text encrypts differently every time. Empty when the key is not available (see
// signingUltimoError).
QString crypt(const QString& texto);
// The clear text of what crypt answered. Empty for anything that does not authenticate under
// this installation's key: tampered, truncated, not Base64, or from another installation.
QString deCrypt(const QString& texto);

// Why the last crypt or deCrypt failed, in Spanish, for a supervisor (which file, what to do);
// empty after a success.
QString signingUltimoError();
