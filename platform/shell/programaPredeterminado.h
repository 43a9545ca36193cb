#pragma once
// Opening a file or a web page with the program the desktop has for it.

#include <QString>
#include <QStringList>

// `destino`: a file path or an http(s)/mailto address. Answers whether the desktop accepted
// it (a missing file is refused). With POS_SIN_ABRIR=1 in the environment (tests, scripted
// runs) nothing is launched: the request is only recorded.
bool abreConProgramaPredeterminado(const QString& destino);

// Requests recorded while POS_SIN_ABRIR=1, oldest first.
QStringList abreConProgramaPredeterminadoSolicitudes();
void abreConProgramaPredeterminadoOlvida();
