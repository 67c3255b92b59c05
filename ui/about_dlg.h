// The About box: the program's name, its makers and "PROGRAMA GRATUITO - FREE".
#pragma once

#include <memory>

#include <QDialog>

namespace Ui {
class CAboutDlg;
}

class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
    ~CAboutDlg() override;

private:
    std::unique_ptr<Ui::CAboutDlg> m_ui;
};
