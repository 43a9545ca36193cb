#pragma once
// Qt's own dialogs (files, printing, the standard buttons) speak Spanish: Qt's Spanish
// translations (Debian's qt6-translations-l10n) are installed in the application once.

// True when the Spanish translations were found and installed (now or before).
bool u_instalaTraduccionesQt();
