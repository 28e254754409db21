#pragma once

// Installs Qt's own translations (buttons of the standard boxes, the print preview, the file
// dialog, context menus, calendars) for the locale the program uses. Gives whether they were
// found; without them Qt's texts stay in English.
bool CargarTraduccionesDeQt();
