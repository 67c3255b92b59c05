// The About box, as its template lays it out; "Aceptar", Esc and the close box end it.
#include "ui/about_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "ui/dialog_template.h"
#include "ui_about_dlg.h"
#include "version.h"

namespace {

constexpr int kIconSide = 32;   // an icon control shows the icon at the system's large size

}   // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutDlg>())
{
    m_ui->setupUi(this);
    m_ui->IDC_ABOUT_TEXT->setText(m_ui->IDC_ABOUT_TEXT->text().arg(QString::fromUtf8(kVexilonVersion)));
    ApplyDialogTemplate(*this, false);
    m_ui->IDC_ABOUT_ICON->setPixmap(ApplicationIcon().pixmap(kIconSide, kIconSide));
    m_ui->IDC_ABOUT_ICON->resize(kIconSide, kIconSide);   // an icon control takes the icon's size
    connect(m_ui->IDOK, &QAbstractButton::clicked, this, &QDialog::accept);
}

CAboutDlg::~CAboutDlg() = default;
