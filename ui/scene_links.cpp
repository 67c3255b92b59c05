// The window's links: the session's scene written and read by the session's one rule.
#include "ui/scene_links.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QWidget>

#include "session/scene_session.h"

CSceneLinks::CSceneLinks(QWidget& window, ViewSession& session, std::function<bool(const Scene&, FormulaProblem&)> open)
    : QObject(&window), m_window(&window), m_session(session), m_openScene(std::move(open))
{
    m_copy = new QAction(QString::fromUtf8("Copiar en&lace"), this);
    m_copy->setObjectName(QStringLiteral("IDM_COPY_LINK"));
    m_copy->setToolTip(QString::fromUtf8("Copia un enlace que muestra esta superficie con esta vista y estas opciones"));
    connect(m_copy, &QAction::triggered, this, [this] {
        if (const std::optional<Scene> scene = SceneOf(m_session))
            QGuiApplication::clipboard()->setText(QLatin1Char('#') + QString::fromStdString(EncodeScene(*scene)));
    });
    m_open = new QAction(QString::fromUtf8("Abrir e&nlace…"), this);
    m_open->setObjectName(QStringLiteral("IDM_OPEN_LINK"));
    connect(m_open, &QAction::triggered, this, [this] {
        QInputDialog ask(m_window);
        ask.setObjectName(QStringLiteral("IDD_OPEN_LINK"));
        ask.setWindowTitle(QString::fromUtf8("Abrir enlace"));
        ask.setLabelText(QString::fromUtf8("Pegue el enlace de la página o de «Copiar enlace»:"));
        ask.setTextValue(QGuiApplication::clipboard()->text().trimmed().left(int(kMaxSceneLength) + 1000));
        if (ask.exec() == QDialog::Accepted)
            Open(ask.textValue());
    });
}

bool CSceneLinks::Open(const QString& text)
{
    FormulaProblem problem;
    const std::optional<Scene> scene = DecodeScene(text.trimmed().toStdString(), problem);
    if (scene && m_openScene(*scene, problem))
        return true;
    QMessageBox::warning(m_window, QString::fromUtf8("Enlace no válido"),
                         QString::fromUtf8("No se puede abrir el enlace.\n\n") + QString::fromStdString(problem.spanish));
    return false;
}
