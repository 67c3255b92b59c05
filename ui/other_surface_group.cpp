// The window's "Otra:" choice: the gallery and the user's surfaces in a list, and the dialog
// "Superficie propia" with its preview in the square.
#include <algorithm>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <QFutureWatcher>

#include "session/scene_session.h"
#include "session/view_session.h"
#include "ui/other_surface_group.h"
#include "ui/own_surface_dlg.h"
#include "ui_viewer_dlg.h"

namespace {

// The user's file: QStandardPaths' AppDataLocation / superficies.toml.
QString OwnSurfacesPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QString::fromLatin1(kOwnSurfacesFile));
}

}   // namespace

COtherSurfaceGroup::COtherSurfaceGroup(QWidget& window, Ui::CViewerDlg& ui, ViewSession& session)
    : QObject(&window), m_window(&window), m_ui(&ui), m_session(session), m_surfaces(session.Surfaces())
{
    m_own = std::make_unique<OwnSurfaces>(m_surfaces);
    const std::vector<FileProblem> problems = m_own->Load(QFile::encodeName(OwnSurfacesPath()).toStdString());
    ListOwnSurfaces();

    connect(m_ui->IDC_OTHER_SURFACE, &QAbstractButton::clicked, this, &COtherSurfaceGroup::OnOtherSurface);
    connect(m_ui->IDC_SURFACE_LIST, &QComboBox::activated, this, &COtherSurfaceGroup::OnOtherSurface);
    connect(m_ui->IDC_DEFINE_BUTTON, &QAbstractButton::clicked, this, &COtherSurfaceGroup::OnDefineButton);

    if (!problems.empty()) {
        const QString text = QString::fromStdString(SpanishSummary(problems, kProblemsShown));
        // After the window shows, so the message has a window to stand over; the rest still loads.
        QTimer::singleShot(0, m_window, [this, text] {
            QMessageBox::warning(m_window, QString::fromUtf8("Superficies no leídas"),
                                 QString::fromUtf8("Algunas superficies no se pudieron leer y se han dejado fuera:\n\n") + text);
        });
    }
}

void COtherSurfaceGroup::ListOwnSurfaces()
{
    QComboBox* list = m_ui->IDC_SURFACE_LIST;
    const QVariant chosen = list->currentData();
    list->clear();
    for (const SurfaceEntry* entry : m_own->Listed())
        list->addItem(QString::fromStdString(entry->caption), entry->number);
    if (chosen.isValid() && list->findData(chosen) >= 0)
        list->setCurrentIndex(list->findData(chosen));
    // The popup as wide as the longest caption, though the box itself is narrow.
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
    list->view()->setMinimumWidth(widest + 40);
}

bool COtherSurfaceGroup::OpenScene(const Scene& scene, FormulaProblem& problem)
{
    if (!::OpenScene(scene, m_session, *m_own, problem))
        return false;
    ListOwnSurfaces();
    const SurfaceKind kind = m_session.View().surface;
    QComboBox* list = m_ui->IDC_SURFACE_LIST;
    if (list->findData(kind) >= 0) {
        list->setCurrentIndex(list->findData(kind));
        m_ui->IDC_OTHER_SURFACE->setChecked(true);
        return true;
    }
    // The eight's buttons stand in a column in the registry's order.
    QList<QRadioButton*> buttons;
    for (QRadioButton* button : m_window->findChildren<QRadioButton*>())
        if (button->objectName().startsWith(QStringLiteral("IDC_SURFACE_")))
            buttons.append(button);
    std::sort(buttons.begin(), buttons.end(), [](QRadioButton* a, QRadioButton* b) { return a->y() < b->y(); });
    if (kind >= 1 && kind <= buttons.size())
        buttons[kind - 1]->setChecked(true);
    return true;
}

void COtherSurfaceGroup::OnOtherSurface()
{
    const QVariant number = m_ui->IDC_SURFACE_LIST->currentData();
    if (!number.isValid())
        return;
    m_ui->IDC_OTHER_SURFACE->setChecked(true);
    if (m_tracing)
        return;   // a choice made while another is sampled waits for it
    const SurfaceKind kind = number.toInt();
    // A surface is sampled the first time it is shown: off the GUI thread, so a heavy one leaves
    // the window painting, with a busy indicator once it takes long enough to notice.
    QFutureWatcher<void> tracing;
    QEventLoop done;
    connect(&tracing, &QFutureWatcherBase::finished, &done, &QEventLoop::quit);
    tracing.setFuture(QtConcurrent::run([this, kind] { m_surfaces.WireframeOf(kind); }));
    if (!tracing.isFinished()) {
        m_tracing = true;
        QProgressDialog progress(QString::fromUtf8("Calculando la superficie…"), QString(), 0, 0, m_window);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(400);
        done.exec(QEventLoop::ExcludeUserInputEvents);
        m_tracing = false;
    }
    m_session.ChooseSurface(kind);
}

void COtherSurfaceGroup::OnDefineButton()
{
    const SurfaceKind before = m_session.View().surface;
    const bool hadFrame = m_session.HasFrame();
    // By id: saving in the dialog numbers the user's surfaces anew.
    const SurfaceEntry* beforeEntry = m_surfaces.Find(before);
    const std::string beforeId = beforeEntry ? beforeEntry->id : std::string();
    // The dialog starts from the surface shown when it is the user's own, so it can be changed.
    COwnSurfaceDlg dlg(m_own->StartingDefinition(before),
                       [this](const SurfaceDefinition& d, QString& error) {
                           std::string why;
                           const bool saved = m_own->Save(d, why);
                           error = QString::fromStdString(why);
                           ListOwnSurfaces();
                           return saved;
                       },
                       m_window);
    bool first = true;
    connect(&dlg, &COwnSurfaceDlg::previewReady, this, [this, &first](std::shared_ptr<const Wireframe> wire) {
        m_session.ShowPreview(std::move(wire), first);
        first = false;
    });
    // Beside the window where the screen has room, so the square stays in sight while typing.
    dlg.adjustSize();
    const QRect room = m_window->screen()->availableGeometry();
    QPoint at = m_window->frameGeometry().topRight() + QPoint(8, 0);
    if (at.x() + dlg.frameGeometry().width() > room.right())
        at.setX(m_window->frameGeometry().left() - dlg.frameGeometry().width() - 8);
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - dlg.frameGeometry().width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - dlg.frameGeometry().height())));
    dlg.move(at);
    if (dlg.exec() != QDialog::Accepted) {
        const SurfaceEntry* again = beforeId.empty() ? nullptr : m_surfaces.FindId(beforeId);
        m_session.EndPreview(again ? again->number : before, hadFrame);
        return;
    }
    const SurfaceKind chosen = m_own->Accept(dlg.Definition(), dlg.SampledWireframe());
    ListOwnSurfaces();
    m_ui->IDC_SURFACE_LIST->setCurrentIndex(m_ui->IDC_SURFACE_LIST->findData(chosen));
    m_ui->IDC_OTHER_SURFACE->setChecked(true);
    m_session.EndPreview(chosen, true);
}
