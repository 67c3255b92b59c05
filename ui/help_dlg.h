// The "Ayuda" dialog (F1): every control, key and option, and the formula language, in Spanish.
#pragma once

#include <QDialog>
#include <QString>

// The help's text, as HTML.
QString HelpText();

class CHelpDlg : public QDialog {
    Q_OBJECT

public:
    explicit CHelpDlg(QWidget* parent = nullptr);
};
