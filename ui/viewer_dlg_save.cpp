// The window's commands on its picture: save it as PNG or SVG, copy it to the clipboard.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QStandardPaths>

#include "session/image_names.h"
#include "ui/viewer_dlg.h"

namespace {

const char kPngFilter[] = "Imagen PNG (*.png)";
const char kSvgFilter[] = "Imagen SVG (*.svg)";

OutputFormat FormatOfFilter(const QString& filter)
{
    return filter == QString::fromUtf8(kSvgFilter) ? OutputFormat::Svg : OutputFormat::Png;
}

QString WithExtension(const QString& path, OutputFormat chosen)
{
    return QString::fromStdString(WithImageExtension(path.toStdString(), chosen));   // UTF-8 both ways
}

}   // namespace

bool CViewerDlg::SaveFrame(const QString& path)
{
    std::string error;
    if (m_session.SaveFrame(QFile::encodeName(path).toStdString(), error))
        return true;
    QMessageBox::critical(this, QString::fromUtf8("Guardar imagen"),
                          QString::fromUtf8("No se pudo guardar «%1»: %2")
                              .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(error.c_str())));
    return false;
}

QString CViewerDlg::SaveDirectory()
{
    if (m_saveDirectory.isEmpty()) {
        m_saveDirectory = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        if (m_saveDirectory.isEmpty() || !QFileInfo(m_saveDirectory).isDir())
            m_saveDirectory = QDir::homePath();
    }
    return m_saveDirectory;
}

void CViewerDlg::SetUpSaveDialog(QFileDialog& dialog, const QString& title)
{
    dialog.setWindowTitle(title);
    dialog.setDirectory(SaveDirectory());
    dialog.setOption(QFileDialog::DontUseNativeDialog);   // Qt's own dialog speaks Spanish everywhere
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
}

void CViewerDlg::OnSaveImage()
{
    if (!m_session.HasFrame())
        return;
    QFileDialog dialog(this);
    SetUpSaveDialog(dialog, QString::fromUtf8("Guardar imagen"));
    dialog.setNameFilters({QString::fromUtf8(kPngFilter), QString::fromUtf8(kSvgFilter)});
    dialog.selectFile(QString::fromStdString(m_session.FrameFileName(OutputFormat::Png)));
    // Choosing the other type renames the proposal: "toro.png" becomes "toro.svg".
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
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
        QMessageBox::question(this, QString::fromUtf8("Guardar imagen"), replace) != QMessageBox::Yes)
        return;
    m_saveDirectory = QFileInfo(path).absolutePath();
    SaveFrame(path);
}

void CViewerDlg::OnCopyImage()
{
    if (m_session.HasFrame())
        QGuiApplication::clipboard()->setImage(Picture().copy());   // a copy: m_frame shares the picture
}

