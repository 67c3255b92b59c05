// The Instructions dialog: how the surface buttons, the mouse and the two bars change the view.
#pragma once

#include <memory>

#include <QDialog>
#include <QString>

namespace Ui {
class CInstructionsDlg;
}

// The eight texts of the dialog joined in order, exactly as shown.
QString InstructionsText();

class CInstructionsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CInstructionsDlg(QWidget* parent = nullptr);
    ~CInstructionsDlg() override;

private:
    void OnInitDialog();

    std::unique_ptr<Ui::CInstructionsDlg> m_ui;
    QString m_text;   // shown in IDC_INSTRUCTIONS_TEXT
};
