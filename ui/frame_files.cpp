// The window's commands that write its picture: save it as PNG or SVG, or a turn of it as a GIF.
#include "ui/frame_files.h"


#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QStandardPaths>

#include "session/image_names.h"
#include "ui/parameter_group.h"
#include "session/view_session.h"
#include "ui/turntable_switch.h"

namespace {

const char kPngFilter[] = "Imagen PNG (*.png)";
const char kSvgFilter[] = "Imagen SVG (*.svg)";
const char kGifFilter[] = "Animación GIF (*.gif)";

OutputFormat FormatOfFilter(const QString& filter)
{
    return filter == QString::fromUtf8(kSvgFilter) ? OutputFormat::Svg : OutputFormat::Png;
}

QString WithExtension(const QString& path, OutputFormat chosen)
{
    return QString::fromStdString(WithImageExtension(path.toStdString(), chosen));   // UTF-8 both ways
}

void TellFailure(QWidget& window, const QString& title, const QString& path, const std::string& error)
{
    QMessageBox::critical(&window, title,
                          QString::fromUtf8("No se pudo guardar «%1»: %2")
                              .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(error.c_str())));
}

}   // namespace

CFrameFiles::CFrameFiles(QWidget& window, ViewSession& session, CTurntableSwitch& turntable)
    : m_window(window), m_session(session), m_turntable(turntable)
{
}

bool CFrameFiles::SaveFrame(const QString& path)
{
    std::string error;
    if (m_session.SaveFrame(QFile::encodeName(path).toStdString(), error))
        return true;
    TellFailure(m_window, QString::fromUtf8("Guardar imagen"), path, error);
    return false;
}

bool CFrameFiles::SaveAnimation(const QString& path)
{
    if (!m_session.HasFrame())
        return false;
    const bool wasTurning = m_turntable.Pause();
    const std::string sweep = m_parameters ? m_parameters->Sweeping() : std::string();
    const bool wasSweeping = m_parameters && m_parameters->Pause();
    const int frames = sweep.empty() ? kTurnFrames : 2 * kSweepSteps;
    QProgressDialog progress(QString::fromUtf8("Guardando la animación…"), QString::fromUtf8("Cancelar"), 0,
                             frames, &m_window);
    progress.setWindowTitle(QString::fromUtf8("Guardar animación"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    // Escape and the title bar's close reject the dialog without a cancel of their own.
    QObject::connect(&progress, &QDialog::rejected, &progress, &QProgressDialog::cancel);
    std::string error;
    auto step = [&](int done) {
        progress.setValue(done);   // a modal progress dialog lets its Cancel button be pressed here
        return !progress.wasCanceled();
    };
    const std::string file = QFile::encodeName(path).toStdString();
    const bool saved = sweep.empty() ? m_session.SaveAnimation(file, step, error)
                                     : m_session.SaveSweep(file, sweep, step, error);
    progress.setValue(frames);
    m_turntable.SetTurning(wasTurning);
    if (wasSweeping)
        m_parameters->Resume();
    if (!saved && !error.empty())
        TellFailure(m_window, QString::fromUtf8("Guardar animación"), path, error);
    return saved;
}

QString CFrameFiles::SaveDirectory()
{
    if (m_saveDirectory.isEmpty()) {
        m_saveDirectory = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (m_saveDirectory.isEmpty() || !QFileInfo(m_saveDirectory).isDir())
            m_saveDirectory = QDir::homePath();
    }
    return m_saveDirectory;
}

void CFrameFiles::SetUpSaveDialog(QFileDialog& dialog, const QString& title)
{
    dialog.setWindowTitle(title);
    dialog.setDirectory(SaveDirectory());
    dialog.setOption(QFileDialog::DontUseNativeDialog);   // Qt's own dialog speaks Spanish everywhere
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
}

void CFrameFiles::AskAndSaveFrame()
{
    if (!m_session.HasFrame())
        return;
    QFileDialog dialog(&m_window);
    SetUpSaveDialog(dialog, QString::fromUtf8("Guardar imagen"));
    dialog.setNameFilters({QString::fromUtf8(kPngFilter), QString::fromUtf8(kSvgFilter)});
    dialog.selectFile(QString::fromStdString(m_session.FrameFileName(OutputFormat::Png)));
    // Choosing the other type renames the proposal: "toro.png" becomes "toro.svg".
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.size() != 1 || QFileInfo(chosen.first()).isDir())
            return;
        QString name = QFileInfo(chosen.first()).fileName();
        if (name.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ||
            name.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
            name.chop(4);
        dialog.selectFile(WithExtension(name, FormatOfFilter(filter)));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString typed = dialog.selectedFiles().first();
    const QString path = WithExtension(typed, FormatOfFilter(dialog.selectedNameFilter()));
    // The dialog asked about the name as typed; a name it never saw is asked about here.
    const QString replace =
        QString::fromUtf8("«%1» ya existe. ¿Desea reemplazarlo?").arg(QDir::toNativeSeparators(path));
    if (path != typed && QFileInfo::exists(path) &&
        QMessageBox::question(&m_window, QString::fromUtf8("Guardar imagen"), replace) != QMessageBox::Yes)
        return;
    m_saveDirectory = QFileInfo(path).absolutePath();
    SaveFrame(path);
}

void CFrameFiles::AskAndSaveAnimation()
{
    if (!m_session.HasFrame())
        return;
    QFileDialog dialog(&m_window);
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
