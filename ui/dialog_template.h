// What the three dialogs share: the frame of a modal dialog, the font of its template, the icon.
#pragma once

#include <QFont>
#include <QIcon>

class QDialog;

// The platform's UI font at the size the dialog rectangles were laid out for: the templates are
// converted from dialog units with the base units of an 8-point font, 6 x 13 pixels.
QFont DialogFont();

// Title bar with close box (and a minimise box for the main window), fixed at the template's size.
void ApplyDialogTemplate(QDialog& dialog, bool minimizeBox);

QIcon ApplicationIcon();   // icon 128 in every size we ship
