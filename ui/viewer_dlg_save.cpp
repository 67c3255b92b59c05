// The window's commands on its picture: save it as PNG, SVG, PDF, EPS or TikZ at a size, copy it.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>
#include <QStandardPaths>

#include "session/image_names.h"
#include "ui/viewer_dlg.h"

namespace {

struct ImageType {
    OutputFormat format;
    const char*  filter;
};

// What "Guardar imagen…" offers, in the order of its list.
const ImageType kImageTypes[] = {
    {OutputFormat::Png, "Imagen PNG (*.png)"},
    {OutputFormat::Svg, "Imagen SVG (*.svg)"},
    {OutputFormat::Pdf, "Documento PDF (*.pdf)"},
    {OutputFormat::Eps, "PostScript encapsulado (*.eps)"},
    {OutputFormat::Tikz, "Figura TikZ para LaTeX (*.tikz)"},
};

OutputFormat FormatOfFilter(const QString& filter)
{
    for (const ImageType& type : kImageTypes)
        if (filter == QString::fromUtf8(type.filter))
            return type.format;
    return OutputFormat::Png;
}

QString WithExtension(const QString& path, OutputFormat chosen)
{
    return QString::fromStdString(WithImageExtension(path.toStdString(), chosen));   // UTF-8 both ways
}

// The name without an image format's extension, so that another can take its place.
QString WithoutImageExtension(QString name)
{
    if (IsImageFormat(FormatOfFileName(name.toStdString())))
        name.truncate(name.lastIndexOf(QLatin1Char('.')));
    return name;
}

}   // namespace

bool CViewerDlg::SaveFrame(const QString& path, int size)
{
    std::string error;
    if (m_session.SaveFrame(QFile::encodeName(path).toStdString(), error, size))
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
    QStringList filters;
    for (const ImageType& type : kImageTypes)
        filters << QString::fromUtf8(type.filter);
    dialog.setNameFilters(filters);
    dialog.selectFile(QString::fromStdString(m_session.FrameFileName(OutputFormat::Png)));
    // Choosing another type renames the proposal: "toro.png" becomes "toro.svg".
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        const QStringList chosen = dialog.selectedFiles();
        if (chosen.size() != 1 || QFileInfo(chosen.first()).isDir())
            return;
        dialog.selectFile(WithExtension(WithoutImageExtension(QFileInfo(chosen.first()).fileName()), FormatOfFilter(filter)));
    });
    // The picture's size, below the dialog's own rows: Qt's dialog lays them out on a grid.
    auto* size = new QSpinBox(&dialog);
    size->setObjectName(QStringLiteral("IDC_SAVE_SIZE"));
    size->setRange(kPictureSizeMin, kPictureSizeMax);
    size->setValue(m_saveSize);
    size->setSuffix(QString::fromUtf8(" píxeles"));
    size->setToolTip(QString::fromUtf8("Lado del cuadrado: las líneas se dibujan a ese tamaño, no se amplían"));
    auto* sizeLabel = new QLabel(QString::fromUtf8("&Tamaño:"), &dialog);
    sizeLabel->setBuddy(size);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        const int row = grid->rowCount();
        grid->addWidget(sizeLabel, row, 0);
        grid->addWidget(size, row, 1);
    }
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
    m_saveSize = size->value();
    SaveFrame(path, m_saveSize);
}

void CViewerDlg::OnCopyImage()
{
    if (m_session.HasFrame())
        QGuiApplication::clipboard()->setImage(Picture().copy());   // a copy: m_frame shares the picture
}

