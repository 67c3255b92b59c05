// The Instructions dialog fills its one text control when it opens.
#include "ui/instructions_dlg.h"

#include <QLabel>
#include <QPushButton>

#include "ui/dialog_template.h"
#include "ui_instructions_dlg.h"

QString InstructionsText()
{
    static constexpr const char* kParts[] = {
        "\n1. Superficie:\n",
        "    Se elige la superficie a representar. Cada vez que se presiona se iniciliza la figura.\n",
        "\n2. Botón izquierdo del ratón:\n",
        "    Pulsándolo sobre un punto de la imagen y arrastrando sin soltar la imagen se mueve.\n",
        "\n3. Barra Z\n",
        "    Se amplía o encoge la imagen. Solo cambia el tamaño.\n",
        "\n4. Barra P\n",
        "    Se modifica la perspectiva alejando o acercando el ojo del observador al objeto. Cuanto menor "
        "es la distancia más se distorsiona la imagen.\n",
    };
    QString text;
    for (const char* part : kParts)
        text += QString::fromUtf8(part);   // appended as text; nothing is read as a format
    return text;
}

CInstructionsDlg::CInstructionsDlg(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CInstructionsDlg>())
{
    m_ui->setupUi(this);
    ApplyDialogTemplate(*this, false);
    connect(m_ui->IDOK, &QAbstractButton::clicked, this, &QDialog::accept);
    OnInitDialog();
}

CInstructionsDlg::~CInstructionsDlg() = default;

void CInstructionsDlg::OnInitDialog()
{
    setWindowTitle(QStringLiteral("INSTRUCCIONES"));
    m_text = InstructionsText();
    m_ui->IDC_INSTRUCTIONS_TEXT->setText(m_text);
}
