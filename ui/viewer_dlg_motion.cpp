// The window's motion: the turntable's keys, switch and timer, and saving a turn as a GIF.
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QMessageBox>
#include <QProgressDialog>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>

#include "export/gif_encoder.h"
#include "ui/frame_square.h"
#include "ui/viewer_dlg.h"
#include "ui_viewer_dlg.h"

namespace {

constexpr int kTurnTickMs = 1000 / kGifFpsDefault;     // 40 ms, the rate of a saved animation

const char kGifFilter[] = "Animación GIF (*.gif)";

}   // namespace

void CViewerDlg::AddMotion()
{
    m_turnTimer = new QTimer(this);
    m_turnTimer->setObjectName(QStringLiteral("IDT_TURN"));
    m_turnTimer->setInterval(kTurnTickMs);
    connect(m_turnTimer, &QTimer::timeout, this, [this] { m_session.TurnTick(); });

    // Space belongs to the square, so that a focused button still takes it; Ctrl+Space works anywhere.
    connect(m_square, &CFrameSquare::turnKey, this, [this] { SetTurning(!IsTurning()); });
    auto* shortcut = new QShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Space), this);
    shortcut->setAutoRepeat(false);
    connect(shortcut, &QShortcut::activated, this, [this] { SetTurning(!IsTurning()); });
    connect(m_ui->IDC_VIEW_TURN, &QAbstractButton::toggled, this, &CViewerDlg::SetTurning);
    m_ui->IDC_GROUP_VIEW->setAttribute(Qt::WA_TransparentForMouseEvents);   // a drag may start on it

    m_saveAnimationAction = new QAction(QString::fromUtf8("Guardar &animación…"), this);
    m_saveAnimationAction->setEnabled(false);   // the square is empty until the first frame
    connect(m_saveAnimationAction, &QAction::triggered, this, &CViewerDlg::OnSaveAnimation);
}

bool CViewerDlg::IsTurning() const
{
    return m_turnTimer->isActive();
}

void CViewerDlg::SetTurning(bool on)
{
    on = on && m_session.CanTurn();
    if (on && !IsTurning())
        m_turnTimer->start();
    else if (!on)
        m_turnTimer->stop();   // stopped, nothing runs: no timer, no work
    const QSignalBlocker quiet(m_ui->IDC_VIEW_TURN);
    m_ui->IDC_VIEW_TURN->setChecked(on);
}

bool CViewerDlg::SaveAnimation(const QString& path)
{
    if (!m_session.HasFrame())
        return false;
    const bool wasTurning = IsTurning();
    m_turnTimer->stop();
    QProgressDialog progress(QString::fromUtf8("Guardando la animación…"), QString::fromUtf8("Cancelar"), 0,
                             kTurnFrames, this);
    progress.setWindowTitle(QString::fromUtf8("Guardar animación"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    // Escape and the title bar's close reject the dialog without a cancel of their own.
    connect(&progress, &QDialog::rejected, &progress, &QProgressDialog::cancel);
    std::string error;
    const bool saved = m_session.SaveAnimation(QFile::encodeName(path).toStdString(), [&](int done) {
        progress.setValue(done);   // a modal progress dialog lets its Cancel button be pressed here
        return !progress.wasCanceled();
    }, error);
    progress.setValue(kTurnFrames);
    SetTurning(wasTurning);
    if (!saved && !error.empty())
        QMessageBox::critical(this, QString::fromUtf8("Guardar animación"),
                              QString::fromUtf8("No se pudo guardar «%1»: %2")
                                  .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(error.c_str())));
    return saved;
}

void CViewerDlg::OnSaveAnimation()
{
    if (!m_session.HasFrame())
        return;
    QFileDialog dialog(this);
    SetUpSaveDialog(dialog, QString::fromUtf8("Guardar animación"));
    dialog.setNameFilter(QString::fromUtf8(kGifFilter));
    dialog.setDefaultSuffix(QStringLiteral("gif"));   // added, and asked about, before the dialog closes
    dialog.selectFile(QString::fromStdString(m_session.FrameFileName(OutputFormat::Gif)));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().first();
    m_saveDirectory = QFileInfo(path).absolutePath();
    SaveAnimation(path);
}
