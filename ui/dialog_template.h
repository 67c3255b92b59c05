// What the three dialogs share: the frame of a modal dialog, the font of its template, the icon.
#pragma once

#include <QFont>
#include <QIcon>

class QDialog;

// The platform's UI font at the size the dialog rectangles were laid out for: the templates are
// converted from dialog units with the base units of an 8-point font, 6 x 13 pixels.
QFont DialogFont();

// Title bar with close box, fixed at the template's size; the main window has minimise and maximise
// boxes too and grows from the template's size, never below it.
void ApplyDialogTemplate(QDialog& dialog, bool mainWindow);

QIcon ApplicationIcon();   // icon 128 in every size we ship
