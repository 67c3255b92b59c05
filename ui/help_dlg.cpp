// The help is a page of the program's resources, shown in a browser that follows no links out.
#include "ui/help_dlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

QString HelpText()
{
    QFile file(QStringLiteral(":/help/ayuda.html"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

CHelpDlg::CHelpDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("IDD_HELP"));
    setWindowTitle(QString::fromUtf8("Ayuda de Vexilon"));
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("IDC_HELP_TEXT"));
    text->setOpenLinks(false);
    text->setHtml(HelpText());
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QString::fromUtf8("Aceptar"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("IDOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    resize(640, 560);
}
