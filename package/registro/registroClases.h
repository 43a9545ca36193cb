#pragma once
// Class registry of the package: the module registers its entry form by name when its
// library loads and removes it when the library unloads; the host finds it by name.

#include <QString>

class QWidget;
class TsistemaDatos;

// The class function of an entry form: takes the host's context, answers the panel to embed.
using TExecForm = QWidget* (*)(TsistemaDatos& sistemaDatos);

void registraClase(const QString& nombre, TExecForm execForm);
void eliminaClase(const QString& nombre);
// nullptr when no class of that name is registered.
TExecForm buscaClase(const QString& nombre);
