// The window's "Otra:" choice: the gallery and the user's surfaces in a list, the dialog
// "Superficie propia" with its preview, and the user's file loaded at start and saved.
#include <set>

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include "export/file_writer.h"
#include "surfaces/gallery.h"
#include "surfaces/quoted_text.h"
#include "ui/own_surface_dlg.h"
#include "ui/own_surfaces.h"
#include "ui/viewer_dlg.h"
#include "ui_viewer_dlg.h"

namespace {

constexpr size_t kProblemsShown = 5;   // in the message at start; the rest are counted

// The starting formulas of the dialog: the unit sphere, which fits as the built-in one.
SurfaceDefinition FirstDefinition()
{
    SurfaceDefinition def;
    def.caption = "Mi superficie";
    def.xyz = {"cos(u)*cos(v)", "sin(u)*cos(v)", "sin(v)"};
    def.u = {"0", "2*pi", 25};
    def.v = {"-pi/2", "pi/2", 13};
    return def;
}

}   // namespace

void CViewerDlg::ConnectOwnSurfaces()
{
    m_own = std::make_unique<COwnSurfaceState>();
    const GalleryState& gallery = LoadGallery();
    m_own->galleryLast = gallery.last;
    std::vector<FileProblem> problems = gallery.problems;
    m_own->filePath = OwnSurfacesPath();
    // A link is read even when it leads nowhere, so that a broken or looping one is reported.
    const QFileInfo own(m_own->filePath);
    if (own.exists() || own.isSymLink()) {
        const std::string path = m_own->filePath.toStdString();
        const DefinitionsRead read = ReadDefinitionsFile(path);
        problems.insert(problems.end(), read.problems.begin(), read.problems.end());
        m_own->fileHadProblems = !read.problems.empty();
        std::set<std::string> seen;   // lower case, as the registry compares ids
        for (size_t i = 0; i < read.surfaces.size(); ++i) {
            const SurfaceDefinition& def = read.surfaces[i];
            std::string lower = def.id;
            for (char& c : lower)
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            const std::string id = QuoteSpanish(def.id);
            if (Surfaces().FindId(def.id) && Surfaces().FindId(def.id)->number <= m_own->galleryLast)
                problems.push_back({path, read.lines[i], "", "superficie " + id + ": el id " + id + " ya está en uso en la galería"});
            else if (!seen.insert(lower).second)
                problems.push_back({path, read.lines[i], "", "superficie " + id + ": el id " + id + " está repetido; se conserva la primera"});
            else
                m_own->saved.push_back(def);
        }
        m_own->fileHadProblems = m_own->fileHadProblems || m_own->saved.size() != read.surfaces.size();
    }
    RegisterOwnSurfaces();

    connect(m_ui->IDC_OTHER_SURFACE, &QAbstractButton::clicked, this, &CViewerDlg::OnOtherSurface);
    connect(m_ui->IDC_SURFACE_LIST, &QComboBox::activated, this, &CViewerDlg::OnOtherSurface);
    connect(m_ui->IDC_DEFINE_BUTTON, &QAbstractButton::clicked, this, &CViewerDlg::OnDefineButton);

    if (!problems.empty()) {
        const QString text = QString::fromStdString(SpanishSummary(problems, kProblemsShown));
        // After the window shows, so the message has a window to stand over; the rest still loads.
        QTimer::singleShot(0, this, [this, text] {
            QMessageBox::warning(this, QString::fromUtf8("Superficies no leídas"),
                                 QString::fromUtf8("Algunas superficies no se pudieron leer y se han dejado fuera:\n\n") + text);
        });
    }
}

void CViewerDlg::RegisterOwnSurfaces()
{
    Surfaces().RemoveFrom(m_own->galleryLast + 1);
    for (const SurfaceDefinition& def : m_own->saved)
        AddDefinition(Surfaces(), def);
    if (m_own->session && m_own->sessionWire)   // the preview's sampling, not a second one
        Surfaces().Add(m_own->session->id, m_own->session->caption, [wire = m_own->sessionWire] { return *wire; });
    else if (m_own->session)
        AddDefinition(Surfaces(), *m_own->session);
    QComboBox* list = m_ui->IDC_SURFACE_LIST;
    const QVariant chosen = list->currentData();
    list->clear();
    for (const SurfaceEntry* entry : Surfaces().Entries())
        if (entry->number > kBuiltinSurfaceCount)
            list->addItem(QString::fromStdString(entry->caption), entry->number);
    if (chosen.isValid() && list->findData(chosen) >= 0)
        list->setCurrentIndex(list->findData(chosen));
    // The popup as wide as the longest caption, though the box itself is narrow.
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
    list->view()->setMinimumWidth(widest + 40);
}

void CViewerDlg::OnOtherSurface()
{
    const QVariant number = m_ui->IDC_SURFACE_LIST->currentData();
    if (!number.isValid())
        return;
    m_ui->IDC_OTHER_SURFACE->setChecked(true);
    OnSurfaceButton(number.toInt());
}

const Wireframe& CViewerDlg::WireframeOf(SurfaceKind kind) const
{
    if (kind == kPreviewSurface && m_own && m_own->preview)
        return *m_own->preview;
    return Surfaces().WireframeOf(kind);
}

bool CViewerDlg::SaveOwnSurface(const SurfaceDefinition& definition, QString& error)
{
    std::vector<SurfaceDefinition> saved = m_own->saved;
    auto same = std::find_if(saved.begin(), saved.end(), [&](const SurfaceDefinition& d) { return d.caption == definition.caption; });
    SurfaceDefinition entry = definition;
    if (same != saved.end()) {
        entry.id = same->id;   // the same name: the user edits that surface
        *same = entry;
    } else {
        std::set<std::string> taken;
        for (const SurfaceEntry* e : Surfaces().Entries())
            if (e->number <= m_own->galleryLast)
                taken.insert(e->id);
        for (const SurfaceDefinition& d : saved)
            taken.insert(d.id);
        taken.insert(kTypedSurfaceId);
        entry.id = OwnIdFor(entry.caption, taken);
        saved.push_back(entry);
    }
    const QString folder = QFileInfo(m_own->filePath).absolutePath();
    if (!QDir().mkpath(folder)) {
        error = QString::fromUtf8("No se pudo crear la carpeta %1.").arg(folder);
        return false;
    }
    // A file that had unreadable entries is kept aside once, so saving loses none of them.
    if (m_own->fileHadProblems && QFileInfo::exists(m_own->filePath))
        QFile::copy(m_own->filePath, m_own->filePath + QStringLiteral(".anterior"));
    const std::string text = DefinitionsText(saved);
    std::string why;
    if (!WriteFileAtomically(m_own->filePath.toStdString(),
                             [&](std::FILE* file) { return std::fwrite(text.data(), 1, text.size(), file) == text.size(); },
                             why)) {
        error = QString::fromUtf8("No se pudo guardar %1: %2").arg(m_own->filePath, QString::fromStdString(why));
        return false;
    }
    m_own->fileHadProblems = false;
    m_own->saved = std::move(saved);
    if (m_own->session && m_own->session->caption == entry.caption) {
        m_own->session.reset();
        m_own->sessionWire.reset();
    }
    RegisterOwnSurfaces();
    return true;
}

void CViewerDlg::OnDefineButton()
{
    const SurfaceKind before = m_view.surface;
    const bool hadFrame = m_hasFrame;
    // The dialog starts from the surface shown when it is the user's own, so it can be changed.
    SurfaceDefinition start = m_own->session ? *m_own->session : FirstDefinition();
    if (const SurfaceEntry* shown = Surfaces().Find(before))
        for (const SurfaceDefinition& d : m_own->saved)
            if (d.id == shown->id)
                start = d;
    COwnSurfaceDlg dlg(start,
                       [this](const SurfaceDefinition& d, QString& error) { return SaveOwnSurface(d, error); }, this);
    bool first = true;
    connect(&dlg, &COwnSurfaceDlg::previewReady, this, [this, &first](std::shared_ptr<const Wireframe> wire) {
        m_own->preview = std::move(wire);
        if (first)
            m_controls.ResetView();   // a new surface starts at its first view; later previews keep it
        first = false;
        m_view.surface = kPreviewSurface;
        RenderScene();
    });
    // Beside the window where the screen has room, so the square stays in sight while typing.
    dlg.adjustSize();
    const QRect room = screen()->availableGeometry();
    QPoint at = frameGeometry().topRight() + QPoint(8, 0);
    if (at.x() + dlg.frameGeometry().width() > room.right())
        at.setX(frameGeometry().left() - dlg.frameGeometry().width() - 8);
    at.setX(std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - dlg.frameGeometry().width())));
    at.setY(std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - dlg.frameGeometry().height())));
    dlg.move(at);
    const bool accepted = dlg.exec() == QDialog::Accepted;
    m_own->preview.reset();
    if (!accepted) {
        if (before != kSurfaceNone && before != kPreviewSurface) {
            OnSurfaceButton(before);
        } else {
            m_view.surface = kSurfaceNone;
            m_hasFrame = hadFrame && before != kSurfaceNone;
            update(kFrameRect);
        }
        return;
    }
    SurfaceDefinition def = dlg.Definition();
    const SurfaceEntry* saved = nullptr;
    for (const SurfaceDefinition& d : m_own->saved)
        if (d.caption == def.caption && d.xyz == def.xyz)
            saved = Surfaces().FindId(d.id);
    if (!saved) {
        def.id = kTypedSurfaceId;
        if (def.caption.empty())
            def.caption = "Superficie propia";
        m_own->session = def;
        m_own->sessionWire = dlg.SampledWireframe();
        RegisterOwnSurfaces();
    }
    const SurfaceEntry* chosen = saved ? saved : Surfaces().FindId(kTypedSurfaceId);
    m_ui->IDC_SURFACE_LIST->setCurrentIndex(m_ui->IDC_SURFACE_LIST->findData(chosen->number));
    OnOtherSurface();
}
