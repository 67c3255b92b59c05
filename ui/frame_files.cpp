// The window's commands that write its picture: save it as PNG, SVG, PDF, EPS or TikZ at a size,
// or a turn of it as a GIF.
#include "ui/frame_files.h"


#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>

#include "session/image_names.h"
#include "ui/parameter_group.h"
#include "session/view_session.h"
#include "ui/turntable_switch.h"

namespace {

const char kGifFilter[] = "Animación GIF (*.gif)";

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

// The name without an image format's extension, so that another can take its place.
QString WithoutImageExtension(QString name)
{
    if (IsImageFormat(FormatOfFileName(name.toStdString())))
        name.truncate(name.lastIndexOf(QLatin1Char('.')));
    return name;
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

bool CFrameFiles::SaveFrame(const QString& path, int size)
{
    std::string error;
    if (m_session.SaveFrame(QFile::encodeName(path).toStdString(), error, size))
        return true;
    TellFailure(m_window, QString::fromUtf8("Guardar imagen"), path, error);
    return false;
}

bool CFrameFiles::SaveAnimation(const QString& path)
{
    return SaveAnimation(path, m_parameters ? m_parameters->Sweeping() : std::string());
}

bool CFrameFiles::SaveAnimation(const QString& path, const std::string& sweep, bool labelled)
{
    if (!m_session.HasFrame())
        return false;
    const bool wasTurning = m_turntable.Pause();
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
                                     : m_session.SaveSweep(file, sweep, step, error, labelled);
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
    QStringList filters;
    for (const ImageType& type : kImageTypes)
        filters << QString::fromUtf8(type.filter);
    dialog.setNameFilters(filters);
    dialog.selectFile(QString::fromStdString(m_session.FrameFileName(OutputFormat::Png)));
    // Choosing another type renames the proposal: "toro.png" becomes "toro.svg".
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
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
        QMessageBox::question(&m_window, QString::fromUtf8("Guardar imagen"), replace) != QMessageBox::Yes)
        return;
    m_saveDirectory = QFileInfo(path).absolutePath();
    m_saveSize = size->value();
    SaveFrame(path, m_saveSize);
}

std::optional<std::string> CFrameFiles::AskWhichAnimation(bool& labelled)
{
    const std::vector<std::string> names = m_parameters ? m_parameters->Names() : std::vector<std::string>();
    if (names.empty())
        return std::string();
    QMessageBox question(QMessageBox::Question, QString::fromUtf8("Guardar animación"),
                         QString::fromUtf8("¿Qué animación desea guardar?"), QMessageBox::NoButton, &m_window);
    question.setObjectName(QStringLiteral("IDD_ANIMATION_KIND"));
    QPushButton* turn = question.addButton(QString::fromUtf8("Giro"), QMessageBox::AcceptRole);
    turn->setObjectName(QStringLiteral("IDC_ANIMATION_TURN"));
    std::vector<QPushButton*> sweeps;
    const std::string running = m_parameters->Sweeping();
    question.setDefaultButton(turn);
    for (const std::string& name : names) {
        QPushButton* sweep = question.addButton(QString::fromUtf8("Barrido de %1").arg(QString::fromStdString(name)),
                                                QMessageBox::AcceptRole);
        sweep->setObjectName(QStringLiteral("IDC_ANIMATION_SWEEP_%1").arg(QString::fromStdString(name)));
        if (name == running)   // what "Animar" shows is what is most likely wanted
            question.setDefaultButton(sweep);
        sweeps.push_back(sweep);
    }
    QPushButton* cancel = question.addButton(QString::fromUtf8("Cancelar"), QMessageBox::RejectRole);
    question.setEscapeButton(cancel);
    auto* label = new QCheckBox(QString::fromUtf8("Mostrar el valor del parámetro en cada imagen (barrido)"));
    label->setObjectName(QStringLiteral("IDC_ANIMATION_LABEL"));
    label->setToolTip(QString::fromUtf8("En una esquina de cada imagen del barrido, «t = 0,79», como --label"));
    question.setCheckBox(label);
    question.exec();
    labelled = label->isChecked();
    for (size_t i = 0; i < sweeps.size(); ++i)
        if (question.clickedButton() == sweeps[i])
            return names[i];
    if (question.clickedButton() == turn)
        return std::string();
    return std::nullopt;
}

void CFrameFiles::AskAndSaveAnimation()
{
    if (!m_session.HasFrame())
        return;
    bool labelled = false;
    const std::optional<std::string> sweep = AskWhichAnimation(labelled);
    if (!sweep)
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
    SaveAnimation(path, *sweep, labelled);
}
