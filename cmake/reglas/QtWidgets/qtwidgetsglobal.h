// Rules targets put this folder first in their include path. Every Qt widget header includes
// <QtWidgets/qtwidgetsglobal.h>, so a widget header reached from a rule stops the build here.
#error "Las reglas no pueden incluir widgets: responden un resultado y la pantalla lo muestra"
